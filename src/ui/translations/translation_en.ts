<?xml version='1.0' encoding='utf-8'?>
<TS version="2.1" language="en">
    <context>
        <name>LibraryPage</name>
        <message numerus="yes">
            <source>%n track(s)</source>
            <translation>
                <numerusform>%n track</numerusform>
                <numerusform>%n tracks</numerusform>
            </translation>
        </message>
        <message numerus="yes">
            <source>%n playlist(s)</source>
            <translation>
                <numerusform>%n playlist</numerusform>
                <numerusform>%n playlists</numerusform>
            </translation>
        </message>
    </context>
    <context>
        <name>PlaylistSettingsPage</name>
        <message numerus="yes">
            <source>Sync most recent %n episode(s) only</source>
            <translation>
                <numerusform>Sync most recent %n episode only</numerusform>
                <numerusform>Sync most recent %n episodes only</numerusform>
            </translation>
        </message>
    </context>
    <context>
        <name>SyncUi</name>
        <message numerus="yes">
            <source>%n track(s) of the library are not on this computer: their files are under %1 of another computer.</source>
            <translation>
                <numerusform>%n track of the library is not on this computer: its file is under %1 of another computer.</numerusform>
                <numerusform>%n tracks of the library are not on this computer: their files are under %1 of another computer.</numerusform>
            </translation>
        </message>
        <message numerus="yes">
            <source>Copied %1 of %n track(s) before the synchronization stopped.</source>
            <translation>
                <numerusform>Copied %1 of %n track before the synchronization stopped.</numerusform>
                <numerusform>Copied %1 of %n tracks before the synchronization stopped.</numerusform>
            </translation>
        </message>
        <message numerus="yes">
            <source>Phone synchronization is complete, but %n track(s) could not be copied</source>
            <translation>
                <numerusform>Phone synchronization is complete, but %n track could not be copied</numerusform>
                <numerusform>Phone synchronization is complete, but %n tracks could not be copied</numerusform>
            </translation>
        </message>
    </context>
</TS>