<?xml version='1.0' encoding='utf-8'?>
<TS version="2.1" language="de">
<context>
    <name>ConculsionStartSyncPage</name>
    <message>
        <location filename="../wizard/ConculsionStartSyncPage.cpp" line="15" />
        <source>Phone Setup</source>
        <translation>Telefon einrichten</translation>
    </message>
    <message>
        <location filename="../wizard/ConculsionStartSyncPage.cpp" line="17" />
        <source>Album Art</source>
        <translation>Albumcover</translation>
    </message>
    <message>
        <location filename="../wizard/ConculsionStartSyncPage.cpp" line="19" />
        <source>Synchronize album art for newly added tracks</source>
        <translation type="unfinished" />
    </message>
    <message>
        <location filename="../wizard/ConculsionStartSyncPage.cpp" line="20" />
        <source>Synchronize album art for previously added tracks</source>
        <translation type="unfinished" />
    </message>
    <message>
        <location filename="../wizard/ConculsionStartSyncPage.cpp" line="24" />
        <source>Synchronization Options</source>
        <translation>Synchronisierungsoptionen</translation>
    </message>
    <message>
        <location filename="../wizard/ConculsionStartSyncPage.cpp" line="26" />
        <source>Copy music to the phone now</source>
        <translation>Musik jetzt auf das Telefon kopieren</translation>
    </message>
    <message>
        <location filename="../wizard/ConculsionStartSyncPage.cpp" line="27" />
        <source>Copy music to the phone later</source>
        <translation>Musik später auf das Telefon kopieren</translation>
    </message>
</context>
<context>
    <name>ConnectDevicePage</name>
    <message>
        <location filename="../wizard/ConnectDevicePage.cpp" line="18" />
        <source>Phone Setup</source>
        <translation>Telefon einrichten</translation>
    </message>
    <message>
        <location filename="../wizard/ConnectDevicePage.cpp" line="22" />
        <source>&lt;p&gt;Connect your phone to the PC using the USB cable and then select it from the list below.&lt;/p&gt;&lt;p&gt;If your phone requests that you select an option after connecting the cable then select the "MTP" or "Media" option (if available).&lt;/p&gt;</source>
        <translation type="unfinished" />
    </message>
    <message>
        <location filename="../wizard/ConnectDevicePage.cpp" line="30" />
        <source>&lt;p&gt;Click </source>
        <translation>&lt;p&gt;Klicken Sie </translation>
    </message>
    <message>
        <location filename="../wizard/ConnectDevicePage.cpp" line="30" />
        <location filename="../wizard/ConnectDevicePage.cpp" line="85" />
        <source>here</source>
        <translation>hier</translation>
    </message>
    <message>
        <location filename="../wizard/ConnectDevicePage.cpp" line="31" />
        <source> if your phone is connected but is not displayed above.&lt;/p&gt;</source>
        <translation type="unfinished" />
    </message>
    <message>
        <location filename="../wizard/ConnectDevicePage.cpp" line="82" />
        <source>&lt;p&gt;The USB connection on the selected device is not responding correctly. Note that the Veltrane application must be installed and run on the Android device before connecting it. Click </source>
        <translation type="unfinished" />
    </message>
    <message>
        <location filename="../wizard/ConnectDevicePage.cpp" line="86" />
        <source> for details on how to fix this issue.&lt;p&gt;</source>
        <translation type="unfinished" />
    </message>
    <message>
        <location filename="../wizard/ConnectDevicePage.cpp" line="97" />
        <source>It has not been possible to connect to the device. Try restarting the device and your PC then try again.</source>
        <translation type="unfinished" />
    </message>
    <message>
        <location filename="../wizard/ConnectDevicePage.cpp" line="103" />
        <source>Unable to Connect to The Device</source>
        <translation type="unfinished" />
    </message>
</context>
<context>
    <name>DeleteTracksConfirm</name>
    <message>
        <location filename="../DeleteTracksConfirm.cpp" line="18" />
        <source>The following tracks will be removed from your device. Do you want to continue?</source>
        <translation type="unfinished" />
    </message>
    <message>
        <location filename="../DeleteTracksConfirm.cpp" line="25" />
        <source>Always delete tracks without warning</source>
        <translation>Titel immer ohne Warnung löschen</translation>
    </message>
    <message>
        <location filename="../DeleteTracksConfirm.cpp" line="28" />
        <source>No</source>
        <translation>Nein</translation>
    </message>
    <message>
        <location filename="../DeleteTracksConfirm.cpp" line="29" />
        <source>Yes</source>
        <translation>Ja</translation>
    </message>
</context>
<context>
    <name>DeviceWizard</name>
    <message>
        <location filename="../wizard/DeviceWizard.cpp" line="135" />
        <source>Your choices could not be saved: %1 can't be written.</source>
        <translation type="unfinished" />
    </message>
</context>
<context>
    <name>IntroPage</name>
    <message>
        <location filename="../wizard/IntroPage.cpp" line="9" />
        <source>Phone Setup</source>
        <translation>Telefon einrichten</translation>
    </message>
    <message>
        <location filename="../wizard/IntroPage.cpp" line="21" />
        <source>A new phone has been detected. This wizard will help you set it up so that it can be synchronized.</source>
        <translation type="unfinished" />
    </message>
    <message>
        <location filename="../wizard/IntroPage.cpp" line="24" />
        <source>This wizard will help you set up a phone so that it can be synchronized.</source>
        <translation type="unfinished" />
    </message>
    <message>
        <location filename="../wizard/IntroPage.cpp" line="26" />
        <source>This wizard will help you change your synchronization settings.</source>
        <translation type="unfinished" />
    </message>
</context>
<context>
    <name>PlaylistSettingsPage</name>
    <message>
        <location filename="../wizard/PlaylistSettingsPage.cpp" line="35" />
        <source>Phone Setup</source>
        <translation>Telefon einrichten</translation>
    </message>
    <message>
        <location filename="../wizard/PlaylistSettingsPage.cpp" line="38" />
        <source>Do not copy podcasts to phone</source>
        <translation>Keine Podcasts auf das Telefon kopieren</translation>
    </message>
    <message>
        <location filename="../wizard/PlaylistSettingsPage.cpp" line="39" />
        <source>Copy all podcasts to the phone</source>
        <translation>Alle Podcasts auf das Telefon kopieren</translation>
    </message>
    <message>
        <location filename="../wizard/PlaylistSettingsPage.cpp" line="40" />
        <source>Copy selected podcasts to the phone</source>
        <translation>Ausgewählte Podcasts auf das Telefon kopieren</translation>
    </message>
    <message>
        <location filename="../wizard/PlaylistSettingsPage.cpp" line="45" />
        <source>Copy the complete music library to the phone</source>
        <translation>Die ganze Musikmediathek auf das Telefon kopieren</translation>
    </message>
    <message>
        <location filename="../wizard/PlaylistSettingsPage.cpp" line="46" />
        <source>Copy the contents of an existing iTunes playlist to the phone</source>
        <translation>Den Inhalt einer iTunes-Wiedergabeliste auf das Telefon kopieren</translation>
    </message>
    <message>
        <location filename="../wizard/PlaylistSettingsPage.cpp" line="47" />
        <source>Do not copy music to the phone</source>
        <translation>Keine Musik auf das Telefon kopieren</translation>
    </message>
    <message>
        <location filename="../wizard/PlaylistSettingsPage.cpp" line="57" />
        <source>Episode options:</source>
        <translation>Folgen:</translation>
    </message>
    <message>
        <location filename="../wizard/PlaylistSettingsPage.cpp" line="59" />
        <source>Sync all episodes</source>
        <translation>Alle Folgen synchronisieren</translation>
    </message>
    <message>
        <location filename="../wizard/PlaylistSettingsPage.cpp" line="60" />
        <source>Sync most recent episode only</source>
        <translation>Nur die neueste Folge synchronisieren</translation>
    </message>
    <message>
        <location filename="../wizard/PlaylistSettingsPage.cpp" line="62" />
        <source>Sync most recent %1 episodes only</source>
        <translation>Nur die neuesten %1 Folgen synchronisieren</translation>
    </message>
    <message>
        <location filename="../wizard/PlaylistSettingsPage.cpp" line="65" />
        <source>Used and available space on your phone:</source>
        <translation>Belegter und freier Speicher auf Ihrem Telefon:</translation>
    </message>
</context>
<context>
    <name>QObject</name>
    <message>
        <location filename="../SyncUiTexts.h" line="19" />
        <source>&lt;p&gt;It is necessary to enable the USB connection on your phone before synchronizing. Click </source>
        <translation type="unfinished" />
    </message>
    <message>
        <location filename="../SyncUiTexts.h" line="21" />
        <location filename="../SyncWarningDialog.cpp" line="23" />
        <location filename="../SyncWarningDialog.cpp" line="28" />
        <source>here</source>
        <translation>hier</translation>
    </message>
    <message>
        <location filename="../SyncUiTexts.h" line="22" />
        <source> for instructions on how to do this.&lt;p&gt;</source>
        <translation type="unfinished" />
    </message>
    <message>
        <location filename="../SyncWarningDialog.cpp" line="22" />
        <source>&lt;p&gt;It was not possible to copy the following tracks to your phone.&lt;/p&gt;&lt;p&gt;Click </source>
        <translation type="unfinished" />
    </message>
    <message>
        <location filename="../SyncWarningDialog.cpp" line="24" />
        <source> to diagnose the problem.&lt;/p&gt;</source>
        <translation type="unfinished" />
    </message>
    <message>
        <location filename="../SyncWarningDialog.cpp" line="26" />
        <source>&lt;p&gt;Some of your tracks are copy protected and cannot be played on your phone. These tracks are listed below.&lt;/p&gt;&lt;p&gt;Click </source>
        <translation type="unfinished" />
    </message>
    <message>
        <location filename="../SyncWarningDialog.cpp" line="29" />
        <source> for more information on copy protected tracks.&lt;/p&gt;</source>
        <translation type="unfinished" />
    </message>
    <message>
        <location filename="../SyncWarningDialog.cpp" line="31" />
        <source>&lt;p&gt;The following tracks could not be transferred to your phone because they have not been downloaded in iTunes. You must first download these tracks in iTunes before they can be copied to your phone.&lt;/p&gt;</source>
        <translation type="unfinished" />
    </message>
</context>
<context>
    <name>SyncUi</name>
    <message>
        <source>&lt;p&gt;Not all data from the selected backup could be copied to your phone:&lt;/p&gt;&lt;ul&gt;%1&lt;/ul&gt;&lt;p&gt;The next synchronization will try again.&lt;/p&gt;</source>
        <translation>&lt;p&gt;Nicht alle Daten der gewählten Sicherung konnten auf Ihr Telefon kopiert werden:&lt;/p&gt;&lt;ul&gt;%1&lt;/ul&gt;&lt;p&gt;Die nächste Synchronisierung versucht es erneut.&lt;/p&gt;</translation>
    </message>
    <message>
        <location filename="../SyncUi.cpp" line="52" />
        <source>Please wait while iTunes is started</source>
        <translation>Bitte warten, iTunes wird gestartet</translation>
    </message>
    <message>
        <location filename="../SyncUi.cpp" line="57" />
        <source>&lt;p&gt;If iTunes is already running then click </source>
        <translation type="unfinished" />
    </message>
    <message>
        <location filename="../SyncUi.cpp" line="58" />
        <source>here</source>
        <translation>hier</translation>
    </message>
    <message>
        <location filename="../SyncUi.cpp" line="59" />
        <source> &lt;/p&gt;</source>
        <translation type="unfinished" />
    </message>
    <message>
        <location filename="../SyncUi.cpp" line="75" />
        <source>Settings</source>
        <translation>Einstellungen</translation>
    </message>
    <message>
        <location filename="../SyncUi.cpp" line="76" />
        <source>Help</source>
        <translation>Hilfe</translation>
    </message>
    <message>
        <location filename="../SyncUi.cpp" line="77" />
        <source>Synchronize</source>
        <translation>Synchronisieren</translation>
    </message>
    <message>
        <location filename="../SyncUi.cpp" line="78" />
        <source>Force full resynchronization</source>
        <translation>Vollständige Neusynchronisierung erzwingen</translation>
    </message>
    <message>
        <location filename="../SyncUi.cpp" line="141" />
        <source>Waiting for the iTunes library</source>
        <translation>Warten auf die iTunes-Mediathek</translation>
    </message>
    <message>
        <location filename="../SyncUi.cpp" line="143" />
        <source>&lt;p&gt;%1&lt;/p&gt;&lt;p&gt;Veltrane reads the library file iTunes keeps in its folder (iTunes Music Library.xml or iTunes Library.xml in Music/iTunes). In iTunes, switch on "Share iTunes Library XML with other applications" under Preferences, Advanced. A library kept elsewhere is named by the setting itunes-library-path in %2 (veltrane-sync --library FILE takes it for one run).&lt;/p&gt;</source>
        <translation type="unfinished" />
    </message>
    <message>
        <location filename="../SyncUi.cpp" line="185" />
        <source>iTunes has stopped responding. If iTunes is displaying any messages or dialog boxes then close them.</source>
        <translation type="unfinished" />
    </message>
    <message>
        <location filename="../SyncUi.cpp" line="314" />
        <source>Not Enough Space</source>
        <translation>Nicht genug Speicherplatz</translation>
    </message>
    <message>
        <location filename="../SyncUi.cpp" line="315" />
        <source>You do not have enough space on your phone to complete the synchronization.  You need to free up %1 MB. Do you want to continue with the sync anyway? Note that if you do this then some tracks will not be copied.</source>
        <translation type="unfinished" />
    </message>
    <message>
        <location filename="../SyncUi.cpp" line="320" />
        <source>Don't Sync</source>
        <translation>Nicht synchronisieren</translation>
    </message>
    <message>
        <location filename="../SyncUi.cpp" line="321" />
        <source>Sync Anyway</source>
        <translation>Trotzdem synchronisieren</translation>
    </message>
    <message>
        <location filename="../SyncUi.cpp" line="333" />
        <source>&lt;p&gt;It has not been possible to connect to the attached device. If the screen is locked then disconnect the device, unlock the screen then reconnect it.&lt;/p&gt;&lt;p&gt;If the problem persists try rebooting the phone and the PC then try again.&lt;/p&gt;</source>
        <translation type="unfinished" />
    </message>
    <message>
        <location filename="../SyncUi.cpp" line="336" />
        <source>It has not been possible to connect to the device. Try restarting the device and your PC then try again.</source>
        <translation type="unfinished" />
    </message>
    <message>
        <location filename="../SyncUi.cpp" line="342" />
        <source>Unable to Connect to The Device</source>
        <translation type="unfinished" />
    </message>
    <message>
        <location filename="../SyncUi.cpp" line="369" />
        <source>iTunes Information</source>
        <translation type="unfinished" />
    </message>
    <message>
        <location filename="../SyncUi.cpp" line="370" />
        <source>iTunes must be running for </source>
        <translation type="unfinished" />
    </message>
    <message>
        <location filename="../SyncUi.cpp" line="371" />
        <source> to work correctly. It is important that iTunes is not closed while </source>
        <translation type="unfinished" />
    </message>
    <message>
        <location filename="../SyncUi.cpp" line="372" />
        <source> is running.</source>
        <translation type="unfinished" />
    </message>
    <message>
        <location filename="../SyncUiStates.cpp" line="35" />
        <source>Scanning iTunes Library</source>
        <translation>iTunes-Mediathek wird gelesen</translation>
    </message>
    <message>
        <location filename="../SyncUiStates.cpp" line="35" />
        <location filename="../SyncUiStates.cpp" line="41" />
        <source>Please Wait</source>
        <translation>Bitte warten</translation>
    </message>
    <message>
        <location filename="../SyncUiStates.cpp" line="36" />
        <source>Preparing to synchronize</source>
        <translation>Synchronisierung wird vorbereitet</translation>
    </message>
    <message>
        <location filename="../SyncUiStates.cpp" line="37" />
        <source>Preparing to delete tracks</source>
        <translation>Löschen der Titel wird vorbereitet</translation>
    </message>
    <message>
        <location filename="../SyncUiStates.cpp" line="38" />
        <source>Checking for album art</source>
        <translation>Albumcover werden gesucht</translation>
    </message>
    <message>
        <location filename="../SyncUiStates.cpp" line="39" />
        <source>Deleting tracks from the phone</source>
        <translation>Titel werden vom Telefon gelöscht</translation>
    </message>
    <message>
        <location filename="../SyncUiStates.cpp" line="40" />
        <source>Copying tracks to the phone</source>
        <translation>Titel werden auf das Telefon kopiert</translation>
    </message>
    <message>
        <location filename="../SyncUiStates.cpp" line="41" />
        <source>Cancelling</source>
        <translation>Wird abgebrochen</translation>
    </message>
    <message>
        <location filename="../SyncUiStates.cpp" line="42" />
        <source>Updating playlists</source>
        <translation>Wiedergabelisten werden aktualisiert</translation>
    </message>
    <message>
        <location filename="../SyncUiStates.cpp" line="43" />
        <source>Copying photos to the phone</source>
        <translation>Fotos werden auf das Telefon kopiert</translation>
    </message>
    <message>
        <location filename="../SyncUiStates.cpp" line="44" />
        <source>Converting video</source>
        <translation>Video wird umgewandelt</translation>
    </message>
    <message>
        <location filename="../SyncUiStates.cpp" line="132" />
        <source>Connect your phone to the PC</source>
        <translation>Schließen Sie Ihr Telefon an den PC an</translation>
    </message>
    <message>
        <location filename="../SyncUiStates.cpp" line="133" />
        <source>If your phone is already connected then click Help</source>
        <translation>Wenn Ihr Telefon schon angeschlossen ist, klicken Sie auf Hilfe</translation>
    </message>
    <message>
        <location filename="../SyncUiStates.cpp" line="140" />
        <source>A phone is connected and is ready to be synchronized</source>
        <translation>Ein Telefon ist angeschlossen und bereit zur Synchronisierung</translation>
    </message>
    <message>
        <location filename="../SyncUiStates.cpp" line="145" />
        <source>Phone synchronization is complete</source>
        <translation>Die Synchronisierung des Telefons ist abgeschlossen</translation>
    </message>
    <message>
        <location filename="../SyncUiStates.cpp" line="150" />
        <source>Phone synchronization did not complete</source>
        <translation>Die Synchronisierung des Telefons wurde nicht abgeschlossen</translation>
    </message>
    <message>
        <location filename="../SyncUiStates.cpp" line="151" />
        <source>The synchronization was stopped by an error.</source>
        <translation type="unfinished" />
    </message>
    <message>
        <location filename="../SyncUiStates.cpp" line="158" />
        <source>Phone synchronization was cancelled</source>
        <translation>Die Synchronisierung des Telefons wurde abgebrochen</translation>
    </message>
    <message>
        <location filename="../SyncUiStates.cpp" line="190" />
        <source>Phone synchronization is complete, but 1 track could not be copied</source>
        <translation type="unfinished" />
    </message>
    <message>
        <location filename="../SyncUiStates.cpp" line="191" />
        <source>Phone synchronization is complete, but %1 tracks could not be copied</source>
        <translation type="unfinished" />
    </message>
    <message>
        <location filename="../SyncUiStates.cpp" line="195" />
        <source>Nothing was deleted: these playlists are no longer in iTunes: %1</source>
        <translation type="unfinished" />
    </message>
    <message>
        <location filename="../SyncUiStates.cpp" line="234" />
        <source>&lt;p&gt;It has not been possible to transfer data from the selected backup. If the backup is encrypted then please create a non-encrypted backup using iTunes.&lt;/p&gt;</source>
        <translation type="unfinished" />
    </message>
</context>
<context>
    <name>SyncWarningDialog</name>
    <message>
        <location filename="../SyncWarningDialog.cpp" line="58" />
        <source>Do not show this warning again</source>
        <translation>Diese Warnung nicht mehr anzeigen</translation>
    </message>
    <message>
        <location filename="../SyncWarningDialog.cpp" line="72" />
        <source> (The file could not be found</source>
        <translation type="unfinished" />
    </message>
</context>
<context>
    <name>UpdateDialog</name>
    <message>
        <location filename="../UpdateDialog.cpp" line="18" />
        <source>Do not display this message again.</source>
        <translation>Diese Meldung nicht mehr anzeigen.</translation>
    </message>
</context>
<context>
    <name>UsbEjectWarning</name>
    <message>
        <location filename="../UsbEjectWarning.cpp" line="16" />
        <source>&lt;p&gt;Synchronization is complete.&lt;/p&gt;&lt;p&gt;Your tracks, playlists and album art will appear in the built-in music app on your phone.&lt;/p&gt;&lt;p&gt;Tracks, playlists and album art may take a while to appear on your phone (tracks will be updated first, followed by playlists, then album art).&lt;/p&gt;&lt;p&gt;Please eject your phone before disconnecting, click </source>
        <translation type="unfinished" />
    </message>
    <message>
        <location filename="../UsbEjectWarning.cpp" line="20" />
        <source>here</source>
        <translation>hier</translation>
    </message>
    <message>
        <location filename="../UsbEjectWarning.cpp" line="20" />
        <source> for more details.&lt;/p&gt;</source>
        <translation type="unfinished" />
    </message>
    <message>
        <location filename="../UsbEjectWarning.cpp" line="24" />
        <source>Do not display this message again.</source>
        <translation>Diese Meldung nicht mehr anzeigen.</translation>
    </message>
</context>
<context>
    <name>BackupPage</name>
    <message>
        <source>Phone Setup</source>
        <translation>Telefon einrichten</translation>
    </message>
    <message>
        <source>Copy messages, contacts, calendar, notes and photos from your old phone's backup to this phone. They are copied once, with the next synchronization.</source>
        <translation>Kopieren Sie Nachrichten, Kontakte, Kalender, Notizen und Fotos aus der Sicherung Ihres alten Telefons auf dieses Telefon. Sie werden einmal kopiert, bei der nächsten Synchronisierung.</translation>
    </message>
    <message>
        <source>Text messages</source>
        <translation>Textnachrichten</translation>
    </message>
    <message>
        <source>Contacts</source>
        <translation>Kontakte</translation>
    </message>
    <message>
        <source>Calendar</source>
        <translation>Kalender</translation>
    </message>
    <message>
        <source>Notes</source>
        <translation>Notizen</translation>
    </message>
    <message>
        <source>Photos and videos</source>
        <translation>Fotos und Videos</translation>
    </message>
    <message>
        <source>Do not copy data from another phone</source>
        <translation>Keine Daten eines anderen Telefons kopieren</translation>
    </message>
    <message>
        <source>%1 (backed up %2)</source>
        <translation>%1 (gesichert am %2)</translation>
    </message>
</context>
</TS>