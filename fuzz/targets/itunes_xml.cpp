// The iTunes library XML file (whoever wrote it: another computer, a copy, a program).
#include "fuzz/FuzzSupport.h"
#include "library/itunes/xml/XmlLibrary.h"
#include "library/itunes/xml/XmlLibraryParser.h"

#include <QBuffer>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* aData, size_t aSize)
{
    fuzz::home();
    QByteArray bytes = fuzz::bytes(aData, aSize);
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::ReadOnly);
    XmlLibrary library;
    QString error;
    XmlLibraryParser::parse(buffer, library, error);
    return 0;
}
