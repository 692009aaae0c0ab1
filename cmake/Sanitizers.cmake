# The test build runs under AddressSanitizer and UndefinedBehaviorSanitizer; every target of the
# tree is instrumented so that the core library is checked through the tests.
if(VELTRANE_SANITIZE)
    add_compile_options(-fsanitize=address,undefined -fno-omit-frame-pointer -fno-sanitize-recover=undefined)
    add_link_options(-fsanitize=address,undefined)
endif()
