<?xml version='1.0' encoding='utf-8'?>
<TS version="2.1" language="de">
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
    <context>
        <name>ConclusionStartSyncPage</name>
        <message>
            <source>Phone Setup</source>
            <translation>Telefon einrichten</translation>
        </message>
        <message>
            <source>Album Art</source>
            <translation>Albumcover</translation>
        </message>
        <message>
            <source>Synchronize album art for newly added tracks</source>
            <translation type="unfinished" />
        </message>
        <message>
            <source>Synchronize album art for previously added tracks</source>
            <translation type="unfinished" />
        </message>
        <message>
            <source>Synchronization Options</source>
            <translation>Synchronisierungsoptionen</translation>
        </message>
        <message>
            <source>Copy music to the phone now</source>
            <translation>Musik jetzt auf das Telefon kopieren</translation>
        </message>
        <message>
            <source>Copy music to the phone later</source>
            <translation>Musik später auf das Telefon kopieren</translation>
        </message>
    </context>
    <context>
        <name>ConnectDevicePage</name>
        <message>
            <source>Phone Setup</source>
            <translation>Telefon einrichten</translation>
        </message>
        <message>
            <source>&lt;p&gt;Connect your phone to the PC using the USB cable and then select it from the list below.&lt;/p&gt;&lt;p&gt;If your phone requests that you select an option after connecting the cable then select the "MTP" or "Media" option (if available).&lt;/p&gt;</source>
            <translation type="unfinished" />
        </message>
        <message>
            <source>&lt;p&gt;Click </source>
            <translation>&lt;p&gt;Klicken Sie </translation>
        </message>
        <message>
            <source>here</source>
            <translation>hier</translation>
        </message>
        <message>
            <source> if your phone is connected but is not displayed above.&lt;/p&gt;</source>
            <translation type="unfinished" />
        </message>
        <message>
            <source>&lt;p&gt;The USB connection on the selected device is not responding correctly. Note that the Veltrane application must be installed and run on the Android device before connecting it. Click </source>
            <translation type="unfinished" />
        </message>
        <message>
            <source> for details on how to fix this issue.&lt;p&gt;</source>
            <translation type="unfinished" />
        </message>
        <message>
            <source>It has not been possible to connect to the device. Try restarting the device and your PC then try again.</source>
            <translation type="unfinished" />
        </message>
        <message>
            <source>Unable to Connect to The Device</source>
            <translation type="unfinished" />
        </message>
    </context>
    <context>
        <name>DeleteTracksConfirm</name>
        <message>
            <source>The following tracks will be removed from your device. Do you want to continue?</source>
            <translation type="unfinished" />
        </message>
        <message>
            <source>Always delete tracks without warning</source>
            <translation>Titel immer ohne Warnung löschen</translation>
        </message>
        <message>
            <source>No</source>
            <translation>Nein</translation>
        </message>
        <message>
            <source>Yes</source>
            <translation>Ja</translation>
        </message>
    </context>
    <context>
        <name>DeviceWizard</name>
        <message>
            <source>Your choices could not be saved: %1 can't be written.</source>
            <translation type="unfinished" />
        </message>
    </context>
    <context>
        <name>IntroPage</name>
        <message>
            <source>Phone Setup</source>
            <translation>Telefon einrichten</translation>
        </message>
        <message>
            <source>A new phone has been detected. This wizard will help you set it up so that it can be synchronized.</source>
            <translation type="unfinished" />
        </message>
        <message>
            <source>This wizard will help you set up a phone so that it can be synchronized.</source>
            <translation type="unfinished" />
        </message>
        <message>
            <source>This wizard will help you change your synchronization settings.</source>
            <translation type="unfinished" />
        </message>
    </context>
    <context>
        <name>PlaylistSettingsPage</name>
        <message>
            <source>Phone Setup</source>
            <translation>Telefon einrichten</translation>
        </message>
        <message>
            <source>Do not copy podcasts to phone</source>
            <translation>Keine Podcasts auf das Telefon kopieren</translation>
        </message>
        <message>
            <source>Copy all podcasts to the phone</source>
            <translation>Alle Podcasts auf das Telefon kopieren</translation>
        </message>
        <message>
            <source>Copy selected podcasts to the phone</source>
            <translation>Ausgewählte Podcasts auf das Telefon kopieren</translation>
        </message>
        <message>
            <source>Copy the complete music library to the phone</source>
            <translation>Die ganze Musikmediathek auf das Telefon kopieren</translation>
        </message>
        <message>
            <source>Copy the contents of an existing iTunes playlist to the phone</source>
            <translation>Den Inhalt einer iTunes-Wiedergabeliste auf das Telefon kopieren</translation>
        </message>
        <message>
            <source>Do not copy music to the phone</source>
            <translation>Keine Musik auf das Telefon kopieren</translation>
        </message>
        <message>
            <source>Episode options:</source>
            <translation>Folgen:</translation>
        </message>
        <message>
            <source>Sync all episodes</source>
            <translation>Alle Folgen synchronisieren</translation>
        </message>
        <message>
            <source>Sync most recent episode only</source>
            <translation>Nur die neueste Folge synchronisieren</translation>
        </message>
        <message>
            <source>Sync most recent %1 episodes only</source>
            <translation>Nur die neuesten %1 Folgen synchronisieren</translation>
        </message>
        <message>
            <source>Used and available space on your phone:</source>
            <translation>Belegter und freier Speicher auf Ihrem Telefon:</translation>
        </message>
    </context>
    <context>
        <name>QObject</name>
        <message>
            <source>&lt;p&gt;It is necessary to enable the USB connection on your phone before synchronizing. Click </source>
            <translation type="unfinished" />
        </message>
        <message>
            <source>here</source>
            <translation>hier</translation>
        </message>
        <message>
            <source> for instructions on how to do this.&lt;p&gt;</source>
            <translation type="unfinished" />
        </message>
        <message>
            <source>&lt;p&gt;It was not possible to copy the following tracks to your phone.&lt;/p&gt;&lt;p&gt;Click </source>
            <translation type="unfinished" />
        </message>
        <message>
            <source> to diagnose the problem.&lt;/p&gt;</source>
            <translation type="unfinished" />
        </message>
        <message>
            <source>&lt;p&gt;Some of your tracks are copy protected and cannot be played on your phone. These tracks are listed below.&lt;/p&gt;&lt;p&gt;Click </source>
            <translation type="unfinished" />
        </message>
        <message>
            <source> for more information on copy protected tracks.&lt;/p&gt;</source>
            <translation type="unfinished" />
        </message>
        <message>
            <source>&lt;p&gt;The following tracks could not be transferred to your phone because they have not been downloaded in iTunes. You must first download these tracks in iTunes before they can be copied to your phone.&lt;/p&gt;</source>
            <translation type="unfinished" />
        </message>
    </context>
    <context>
        <name>RunDialogs</name>
        <message>
            <source>Not Enough Space</source>
            <translation>Nicht genug Speicherplatz</translation>
        </message>
        <message>
            <source>You do not have enough space on your phone to complete the synchronization.  You need to free up %1 MB. Do you want to continue with the sync anyway? Note that if you do this then some tracks will not be copied.</source>
            <translation type="unfinished" />
        </message>
        <message>
            <source>Don't Sync</source>
            <translation>Nicht synchronisieren</translation>
        </message>
        <message>
            <source>Sync Anyway</source>
            <translation>Trotzdem synchronisieren</translation>
        </message>
        <message>
            <source>&lt;p&gt;It has not been possible to transfer data from the selected backup. If the backup is encrypted then please create a non-encrypted backup using iTunes.&lt;/p&gt;</source>
            <translation type="unfinished" />
        </message>
        <message>
            <source>&lt;p&gt;Not all data from the selected backup could be copied to your phone:&lt;/p&gt;&lt;ul&gt;%1&lt;/ul&gt;&lt;p&gt;The next synchronization will try again.&lt;/p&gt;</source>
            <translation>&lt;p&gt;Nicht alle Daten der gewählten Sicherung konnten auf Ihr Telefon kopiert werden:&lt;/p&gt;&lt;ul&gt;%1&lt;/ul&gt;&lt;p&gt;Die nächste Synchronisierung versucht es erneut.&lt;/p&gt;</translation>
        </message>
    </context>
    <context>
        <name>StatusPanel</name>
        <message>
            <source>Please wait while iTunes is started</source>
            <translation>Bitte warten, iTunes wird gestartet</translation>
        </message>
        <message>
            <source>&lt;p&gt;If iTunes is already running then click </source>
            <translation type="unfinished" />
        </message>
        <message>
            <source>here</source>
            <translation>hier</translation>
        </message>
        <message>
            <source> &lt;/p&gt;</source>
            <translation type="unfinished" />
        </message>
        <message>
            <source>Settings</source>
            <translation>Einstellungen</translation>
        </message>
        <message>
            <source>Help</source>
            <translation>Hilfe</translation>
        </message>
        <message>
            <source>Synchronize</source>
            <translation>Synchronisieren</translation>
        </message>
        <message>
            <source>Force full resynchronization</source>
            <translation>Vollständige Neusynchronisierung erzwingen</translation>
        </message>
    </context>
    <context>
        <name>SyncState</name>
        <message>
            <source>Connect your phone to the PC</source>
            <translation>Schließen Sie Ihr Telefon an den PC an</translation>
        </message>
        <message>
            <source>If your phone is already connected then click Help</source>
            <translation>Wenn Ihr Telefon schon angeschlossen ist, klicken Sie auf Hilfe</translation>
        </message>
        <message>
            <source>A phone is connected and is ready to be synchronized</source>
            <translation>Ein Telefon ist angeschlossen und bereit zur Synchronisierung</translation>
        </message>
        <message>
            <source>Phone synchronization is complete</source>
            <translation>Die Synchronisierung des Telefons ist abgeschlossen</translation>
        </message>
        <message>
            <source>Phone synchronization did not complete</source>
            <translation>Die Synchronisierung des Telefons wurde nicht abgeschlossen</translation>
        </message>
        <message>
            <source>The synchronization was stopped by an error.</source>
            <translation type="unfinished" />
        </message>
        <message>
            <source>This device is not set up for synchronization</source>
            <translation>Dieses Gerät ist nicht für die Synchronisierung eingerichtet</translation>
        </message>
        <message>
            <source>The settings file can't be read</source>
            <translation>Die Einstellungsdatei kann nicht gelesen werden</translation>
        </message>
        <message>
            <source>Phone synchronization was cancelled</source>
            <translation>Die Synchronisierung des Telefons wurde abgebrochen</translation>
        </message>
        <message>
            <source>Scanning iTunes Library</source>
            <translation>iTunes-Mediathek wird gelesen</translation>
        </message>
        <message>
            <source>Please Wait</source>
            <translation>Bitte warten</translation>
        </message>
        <message>
            <source>Preparing to synchronize</source>
            <translation>Synchronisierung wird vorbereitet</translation>
        </message>
        <message>
            <source>Preparing to delete tracks</source>
            <translation>Löschen der Titel wird vorbereitet</translation>
        </message>
        <message>
            <source>Checking for album art</source>
            <translation>Albumcover werden gesucht</translation>
        </message>
        <message>
            <source>Deleting tracks from the phone</source>
            <translation>Titel werden vom Telefon gelöscht</translation>
        </message>
        <message>
            <source>Copying tracks to the phone</source>
            <translation>Titel werden auf das Telefon kopiert</translation>
        </message>
        <message>
            <source>Cancelling</source>
            <translation>Wird abgebrochen</translation>
        </message>
        <message>
            <source>Updating playlists</source>
            <translation>Wiedergabelisten werden aktualisiert</translation>
        </message>
        <message>
            <source>Copying photos to the phone</source>
            <translation>Fotos werden auf das Telefon kopiert</translation>
        </message>
        <message>
            <source>Converting video</source>
            <translation>Video wird umgewandelt</translation>
        </message>
    </context>
    <context>
        <name>SyncUi</name>
        <message>
            <source>Waiting for the iTunes library</source>
            <translation>Warten auf die iTunes-Mediathek</translation>
        </message>
        <message>
            <source>&lt;p&gt;%1&lt;/p&gt;&lt;p&gt;Veltrane reads the library file iTunes keeps in its folder (iTunes Music Library.xml or iTunes Library.xml in Music/iTunes). In iTunes, switch on "Share iTunes Library XML with other applications" under Preferences, Advanced. A library kept elsewhere is named by the setting itunes-library-path in %2 (veltrane-sync --library FILE takes it for one run).&lt;/p&gt;</source>
            <translation type="unfinished" />
        </message>
        <message>
            <source>iTunes has stopped responding. If iTunes is displaying any messages or dialog boxes then close them.</source>
            <translation type="unfinished" />
        </message>
        <message>
            <source>&lt;p&gt;It has not been possible to connect to the attached device. If the screen is locked then disconnect the device, unlock the screen then reconnect it.&lt;/p&gt;&lt;p&gt;If the problem persists try rebooting the phone and the PC then try again.&lt;/p&gt;</source>
            <translation type="unfinished" />
        </message>
        <message>
            <source>It has not been possible to connect to the device. Try restarting the device and your PC then try again.</source>
            <translation type="unfinished" />
        </message>
        <message>
            <source>Unable to Connect to The Device</source>
            <translation type="unfinished" />
        </message>
        <message>
            <source>iTunes Information</source>
            <translation type="unfinished" />
        </message>
        <message>
            <source>iTunes must be running for </source>
            <translation type="unfinished" />
        </message>
        <message>
            <source> to work correctly. It is important that iTunes is not closed while </source>
            <translation type="unfinished" />
        </message>
        <message>
            <source> is running.</source>
            <translation type="unfinished" />
        </message>
        <message>
            <source>Phone synchronization is complete, but 1 track could not be copied</source>
            <translation type="unfinished" />
        </message>
        <message>
            <source>Phone synchronization is complete, but %1 tracks could not be copied</source>
            <translation type="unfinished" />
        </message>
        <message>
            <source>Nothing was deleted: these playlists are no longer in iTunes: %1</source>
            <translation type="unfinished" />
        </message>
    </context>
    <context>
        <name>SyncWarningDialog</name>
        <message>
            <source>Do not show this warning again</source>
            <translation>Diese Warnung nicht mehr anzeigen</translation>
        </message>
        <message>
            <source> (The file could not be found</source>
            <translation type="unfinished" />
        </message>
    </context>
    <context>
        <name>UpdateDialog</name>
        <message>
            <source>Do not display this message again.</source>
            <translation>Diese Meldung nicht mehr anzeigen.</translation>
        </message>
    </context>
    <context>
        <name>UsbEjectWarning</name>
        <message>
            <source>&lt;p&gt;Synchronization is complete.&lt;/p&gt;&lt;p&gt;Your tracks, playlists and album art will appear in the built-in music app on your phone.&lt;/p&gt;&lt;p&gt;Tracks, playlists and album art may take a while to appear on your phone (tracks will be updated first, followed by playlists, then album art).&lt;/p&gt;&lt;p&gt;Please eject your phone before disconnecting, click </source>
            <translation type="unfinished" />
        </message>
        <message>
            <source>here</source>
            <translation>hier</translation>
        </message>
        <message>
            <source> for more details.&lt;/p&gt;</source>
            <translation type="unfinished" />
        </message>
        <message>
            <source>Do not display this message again.</source>
            <translation>Diese Meldung nicht mehr anzeigen.</translation>
        </message>
    </context>
</TS>