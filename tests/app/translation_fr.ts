<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="fr">
<context>
    <name>StartupTest</name>
    <message>
        <source>Synchronize</source>
        <translation>Synchroniser</translation>
    </message>
</context>
</TS>
