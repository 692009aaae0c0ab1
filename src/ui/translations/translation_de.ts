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
        <message>
            <source>This backup is encrypted: Veltrane can't read it. Turn off "Encrypt local backup" in iTunes or Finder, make a new backup and choose that one.</source>
            <translation>Diese Sicherung ist verschlüsselt: Veltrane kann sie nicht lesen. Schalten Sie „Lokales Backup verschlüsseln“ in iTunes oder im Finder aus, erstellen Sie eine neue Sicherung und wählen Sie diese.</translation>
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
            <translation>Albumcover für neu hinzugefügte Titel synchronisieren</translation>
        </message>
        <message>
            <source>Synchronize album art for previously added tracks</source>
            <translation>Albumcover für bereits kopierte Titel synchronisieren</translation>
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
            <translation>&lt;p&gt;Schließen Sie Ihr Telefon mit dem USB-Kabel an den PC an und wählen Sie es dann in der Liste unten aus.&lt;/p&gt;&lt;p&gt;Wenn Ihr Telefon nach dem Anschließen fragt, welche Verbindung Sie wünschen, wählen Sie „MTP“ oder „Medien“ (falls vorhanden).&lt;/p&gt;</translation>
        </message>
        <message>
            <source>It has not been possible to connect to the device. Try restarting the device and your PC then try again.</source>
            <translation>Die Verbindung mit dem Gerät ist nicht gelungen. Starten Sie das Gerät und Ihren PC neu und versuchen Sie es dann noch einmal.</translation>
        </message>
        <message>
            <source>Unable to Connect to The Device</source>
            <translation>Keine Verbindung zum Gerät</translation>
        </message>
        <message>
            <source>&lt;p&gt;Click %1here%2 if your phone is connected but is not displayed above.&lt;/p&gt;</source>
            <translation>&lt;p&gt;Wenn Ihr Telefon angeschlossen ist, aber oben nicht erscheint, klicken Sie %1hier%2.&lt;/p&gt;</translation>
        </message>
        <message>
            <source>&lt;p&gt;The USB connection on the selected device is not responding correctly. Note that the Tandrel application must be installed and run on the Android device before connecting it.&lt;/p&gt;</source>
            <translation>&lt;p&gt;Die USB-Verbindung des gewählten Geräts antwortet nicht richtig. Die Tandrel-App muss auf dem Android-Gerät installiert sein und laufen, bevor Sie es anschließen.&lt;/p&gt;</translation>
        </message>
        <message>
            <source>&lt;p&gt;Click %1here%2 for details on how to fix this issue.&lt;/p&gt;</source>
            <translation>&lt;p&gt;Wie Sie das Problem beheben, lesen Sie %1hier%2.&lt;/p&gt;</translation>
        </message>
    </context>
    <context>
        <name>DeleteTracksConfirm</name>
        <message>
            <source>The following tracks will be removed from your device. Do you want to continue?</source>
            <translation>Die folgenden Titel werden von Ihrem Gerät entfernt. Möchten Sie fortfahren?</translation>
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
            <translation>Ihre Auswahl konnte nicht gespeichert werden: %1 kann nicht geschrieben werden.</translation>
        </message>
        <message>
            <source>%1 could not be set up: %2</source>
            <translation>%1 konnte nicht eingerichtet werden: %2</translation>
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
            <translation>Ein neues Telefon wurde erkannt. Dieser Assistent hilft Ihnen, es für die Synchronisierung einzurichten.</translation>
        </message>
        <message>
            <source>This wizard will help you set up a phone so that it can be synchronized.</source>
            <translation>Dieser Assistent hilft Ihnen, ein Telefon für die Synchronisierung einzurichten.</translation>
        </message>
        <message>
            <source>This wizard will help you change your synchronization settings.</source>
            <translation>Dieser Assistent hilft Ihnen, Ihre Synchronisierungseinstellungen zu ändern.</translation>
        </message>
    </context>
    <context>
        <name>LibraryChooser</name>
        <message>
            <source>%1 is not an iTunes library: %2.</source>
            <translation>%1 ist keine iTunes-Mediathek: %2.</translation>
        </message>
        <message>
            <source>No library file is chosen yet.</source>
            <translation>Es ist noch keine Mediathekdatei gewählt.</translation>
        </message>
        <message>
            <source>The library file stays %1.</source>
            <translation>Die Mediathekdatei bleibt %1.</translation>
        </message>
        <message>
            <source>Choose the iTunes library file</source>
            <translation>iTunes-Mediathekdatei wählen</translation>
        </message>
        <message>
            <source>iTunes library (*.xml);;All files (*)</source>
            <translation>iTunes-Mediathek (*.xml);;Alle Dateien (*)</translation>
        </message>
        <message>
            <source>the settings file %1 can't be written</source>
            <translation>die Einstellungsdatei %1 kann nicht geschrieben werden</translation>
        </message>
    </context>
    <context>
        <name>LibraryPage</name>
        <message>
            <source>Phone Setup</source>
            <translation>Telefon einrichten</translation>
        </message>
        <message>
            <source>The iTunes library whose music goes onto the phone.</source>
            <translation>Die iTunes-Mediathek, deren Musik auf das Telefon kommt.</translation>
        </message>
        <message>
            <source>C&amp;hoose another library file...</source>
            <translation>Andere Mediathekdatei &amp;wählen...</translation>
        </message>
        <message>
            <source>Reading the library...</source>
            <translation>Die Mediathek wird gelesen...</translation>
        </message>
        <message>
            <source>No library file is chosen yet.</source>
            <translation>Es ist noch keine Mediathekdatei gewählt.</translation>
        </message>
        <message>
            <source>Library file: %1</source>
            <translation>Mediathekdatei: %1</translation>
        </message>
        <message>
            <source>The library holds %1 and %2.</source>
            <translation>Die Mediathek enthält %1 und %2.</translation>
        </message>
        <message numerus="yes">
            <source>%n track(s)</source>
            <translation>
                <numerusform>%n Titel</numerusform>
                <numerusform>%n Titel</numerusform>
            </translation>
        </message>
        <message numerus="yes">
            <source>%n playlist(s)</source>
            <translation>
                <numerusform>%n Wiedergabeliste</numerusform>
                <numerusform>%n Wiedergabelisten</numerusform>
            </translation>
        </message>
        <message>
            <source>It can't be read: %1.</source>
            <translation>Sie kann nicht gelesen werden: %1.</translation>
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
            <source>Used and available space on your phone:</source>
            <translation>Belegter und freier Speicher auf Ihrem Telefon:</translation>
        </message>
        <message numerus="yes">
            <source>Sync most recent %n episode(s) only</source>
            <translation>
                <numerusform>Nur die neueste Folge synchronisieren</numerusform>
                <numerusform>Nur die neuesten %n Folgen synchronisieren</numerusform>
            </translation>
        </message>
        <message>
            <source>The chosen podcasts take %1 on the phone.</source>
            <translation>Die gewählten Podcasts belegen %1 auf dem Telefon.</translation>
        </message>
        <message>
            <source>The chosen music takes %1 on the phone.</source>
            <translation>Die gewählte Musik belegt %1 auf dem Telefon.</translation>
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
            <translation>Auf Ihrem Telefon ist nicht genug Platz, um die Synchronisierung abzuschließen.  Sie müssen %1 MB freigeben. Möchten Sie trotzdem synchronisieren? Dann werden einige Titel nicht kopiert.</translation>
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
            <translation>&lt;p&gt;Die Daten der gewählten Sicherung konnten nicht übertragen werden. Wenn die Sicherung verschlüsselt ist, erstellen Sie bitte mit iTunes eine unverschlüsselte Sicherung.&lt;/p&gt;</translation>
        </message>
        <message>
            <source>&lt;p&gt;Not all data from the selected backup could be copied to your phone:&lt;/p&gt;&lt;ul&gt;%1&lt;/ul&gt;&lt;p&gt;The next synchronization will try again.&lt;/p&gt;</source>
            <translation>&lt;p&gt;Nicht alle Daten der gewählten Sicherung konnten auf Ihr Telefon kopiert werden:&lt;/p&gt;&lt;ul&gt;%1&lt;/ul&gt;&lt;p&gt;Die nächste Synchronisierung versucht es erneut.&lt;/p&gt;</translation>
        </message>
    </context>
    <context>
        <name>SpaceGauge</name>
        <message>
            <source>%1 used, %2 free of %3</source>
            <translation>%1 belegt, %2 frei von %3</translation>
        </message>
    </context>
    <context>
        <name>StatusPanel</name>
        <message>
            <source>Please wait while the iTunes library is read</source>
            <translation>Bitte warten, die iTunes-Mediathek wird gelesen</translation>
        </message>
        <message>
            <source>&amp;Choose library file...</source>
            <translation>Mediathekdatei &amp;wählen...</translation>
        </message>
        <message>
            <source>&amp;Settings</source>
            <translation>&amp;Einstellungen</translation>
        </message>
        <message>
            <source>&amp;Help</source>
            <translation>&amp;Hilfe</translation>
        </message>
        <message>
            <source>S&amp;ynchronize</source>
            <translation>&amp;Synchronisieren</translation>
        </message>
        <message>
            <source>&amp;Force full resynchronization</source>
            <translation>&amp;Vollständige Neusynchronisierung erzwingen</translation>
        </message>
        <message>
            <source>&amp;Cancel</source>
            <translation>&amp;Abbrechen</translation>
        </message>
        <message>
            <source>Waiting for the iTunes library</source>
            <translation>Warten auf die iTunes-Mediathek</translation>
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
            <translation>Die Synchronisierung wurde durch einen Fehler beendet.</translation>
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
            <source>&lt;p&gt;It has not been possible to connect to the attached device. If the screen is locked then disconnect the device, unlock the screen then reconnect it.&lt;/p&gt;&lt;p&gt;If the problem persists try rebooting the phone and the PC then try again.&lt;/p&gt;</source>
            <translation>&lt;p&gt;Die Verbindung mit dem angeschlossenen Gerät ist nicht gelungen. Wenn der Bildschirm gesperrt ist, trennen Sie das Gerät, entsperren Sie den Bildschirm und schließen Sie es wieder an.&lt;/p&gt;&lt;p&gt;Wenn das Problem bleibt, starten Sie Telefon und PC neu und versuchen Sie es noch einmal.&lt;/p&gt;</translation>
        </message>
        <message>
            <source>It has not been possible to connect to the device. Try restarting the device and your PC then try again.</source>
            <translation>Die Verbindung mit dem Gerät ist nicht gelungen. Starten Sie das Gerät und Ihren PC neu und versuchen Sie es dann noch einmal.</translation>
        </message>
        <message>
            <source>Unable to Connect to The Device</source>
            <translation>Keine Verbindung zum Gerät</translation>
        </message>
        <message>
            <source>Nothing was deleted: these playlists are no longer in iTunes: %1</source>
            <translation>Nichts wurde gelöscht: Diese Wiedergabelisten gibt es in iTunes nicht mehr: %1</translation>
        </message>
        <message>
            <source>Reading %1</source>
            <translation>%1 wird gelesen</translation>
        </message>
        <message>
            <source>&lt;p&gt;%1&lt;/p&gt;&lt;p&gt;Veltrane reads the library file that iTunes writes on the computer that has it (iTunes Music Library.xml or iTunes Library.xml, in its iTunes folder; Music writes one when you export its library). Choose that file, on that computer's disk or share or as a copy.&lt;/p&gt;</source>
            <translation>&lt;p&gt;%1&lt;/p&gt;&lt;p&gt;Veltrane liest die Mediathekdatei, die iTunes auf dem Computer schreibt, auf dem es läuft (iTunes Music Library.xml oder iTunes Library.xml in seinem iTunes-Ordner; die App Musik schreibt eine, wenn Sie ihre Mediathek exportieren). Wählen Sie diese Datei, auf der Festplatte oder Freigabe dieses Computers oder als Kopie.&lt;/p&gt;</translation>
        </message>
        <message numerus="yes">
            <source>%n track(s) of the library are not on this computer: their files are under %1 of another computer.</source>
            <translation>
                <numerusform>%n Titel der Mediathek ist nicht auf diesem Computer: Seine Datei liegt unter %1 eines anderen Computers.</numerusform>
                <numerusform>%n Titel der Mediathek sind nicht auf diesem Computer: Ihre Dateien liegen unter %1 eines anderen Computers.</numerusform>
            </translation>
        </message>
        <message>
            <source>Choose the folder that holds them here...</source>
            <translation>Den Ordner wählen, der sie hier enthält...</translation>
        </message>
        <message>
            <source>The folder that holds what is under %1</source>
            <translation>Der Ordner mit dem, was unter %1 liegt</translation>
        </message>
        <message>
            <source>The mapping could not be saved: %1 can't be written.</source>
            <translation>Die Zuordnung konnte nicht gespeichert werden: %1 kann nicht geschrieben werden.</translation>
        </message>
        <message numerus="yes">
            <source>Copied %1 of %n track(s) before the synchronization stopped.</source>
            <translation>
                <numerusform>Vor dem Anhalten der Synchronisierung kopiert: %1 von %n Titel.</numerusform>
                <numerusform>Vor dem Anhalten der Synchronisierung kopiert: %1 von %n Titeln.</numerusform>
            </translation>
        </message>
        <message numerus="yes">
            <source>Phone synchronization is complete, but %n track(s) could not be copied</source>
            <translation>
                <numerusform>Die Synchronisierung des Telefons ist abgeschlossen, aber %n Titel konnte nicht kopiert werden</numerusform>
                <numerusform>Die Synchronisierung des Telefons ist abgeschlossen, aber %n Titel konnten nicht kopiert werden</numerusform>
            </translation>
        </message>
    </context>
    <context>
        <name>SyncUiTexts</name>
        <message>
            <source>&lt;p&gt;It is necessary to enable the USB connection on your phone before synchronizing.&lt;/p&gt;</source>
            <translation>&lt;p&gt;Vor der Synchronisierung muss die USB-Verbindung auf Ihrem Telefon aktiviert werden.&lt;/p&gt;</translation>
        </message>
        <message>
            <source>&lt;p&gt;Click %1here%2 for instructions on how to do this.&lt;/p&gt;</source>
            <translation>&lt;p&gt;Eine Anleitung dazu finden Sie %1hier%2.&lt;/p&gt;</translation>
        </message>
    </context>
    <context>
        <name>SyncWarningDialog</name>
        <message>
            <source>Do not show this warning again</source>
            <translation>Diese Warnung nicht mehr anzeigen</translation>
        </message>
        <message>
            <source>&lt;p&gt;It was not possible to copy the following tracks to your phone.&lt;/p&gt;</source>
            <translation>&lt;p&gt;Die folgenden Titel konnten nicht auf Ihr Telefon kopiert werden.&lt;/p&gt;</translation>
        </message>
        <message>
            <source>&lt;p&gt;Click %1here%2 to diagnose the problem.&lt;/p&gt;</source>
            <translation>&lt;p&gt;Wie Sie die Ursache finden, lesen Sie %1hier%2.&lt;/p&gt;</translation>
        </message>
        <message>
            <source>&lt;p&gt;Some of your tracks are copy protected and cannot be played on your phone. These tracks are listed below.&lt;/p&gt;</source>
            <translation>&lt;p&gt;Einige Ihrer Titel sind kopiergeschützt und können auf Ihrem Telefon nicht abgespielt werden. Sie sind unten aufgeführt.&lt;/p&gt;</translation>
        </message>
        <message>
            <source>&lt;p&gt;Click %1here%2 for more information on copy protected tracks.&lt;/p&gt;</source>
            <translation>&lt;p&gt;Mehr über kopiergeschützte Titel erfahren Sie %1hier%2.&lt;/p&gt;</translation>
        </message>
        <message>
            <source>&lt;p&gt;The following tracks could not be transferred to your phone because they have not been downloaded in iTunes. You must first download these tracks in iTunes before they can be copied to your phone.&lt;/p&gt;</source>
            <translation>&lt;p&gt;Die folgenden Titel konnten nicht auf Ihr Telefon übertragen werden, weil sie in iTunes nicht geladen sind. Laden Sie diese Titel zuerst in iTunes, dann können sie auf Ihr Telefon kopiert werden.&lt;/p&gt;</translation>
        </message>
        <message>
            <source>%1 (The file could not be found)</source>
            <translation>%1 (Die Datei wurde nicht gefunden)</translation>
        </message>
        <message>
            <source>%1 (The file could not be found : %2)</source>
            <translation>%1 (Die Datei wurde nicht gefunden: %2)</translation>
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
            <source>Do not display this message again.</source>
            <translation>Diese Meldung nicht mehr anzeigen.</translation>
        </message>
        <message>
            <source>&lt;p&gt;Synchronization is complete.&lt;/p&gt;&lt;p&gt;Your tracks, playlists and album art will appear in the built-in music app on your phone.&lt;/p&gt;&lt;p&gt;Tracks, playlists and album art may take a while to appear on your phone (tracks will be updated first, followed by playlists, then album art).&lt;/p&gt;&lt;p&gt;Please eject your phone before disconnecting.&lt;/p&gt;</source>
            <translation>&lt;p&gt;Die Synchronisierung ist abgeschlossen.&lt;/p&gt;&lt;p&gt;Ihre Titel, Wiedergabelisten und Albumcover erscheinen in der Musik-App Ihres Telefons.&lt;/p&gt;&lt;p&gt;Es kann eine Weile dauern, bis sie erscheinen (zuerst die Titel, dann die Wiedergabelisten, zuletzt die Albumcover).&lt;/p&gt;&lt;p&gt;Bitte werfen Sie Ihr Telefon aus, bevor Sie es trennen.&lt;/p&gt;</translation>
        </message>
        <message>
            <source>&lt;p&gt;Click %1here%2 for more details.&lt;/p&gt;</source>
            <translation>&lt;p&gt;Mehr dazu lesen Sie %1hier%2.&lt;/p&gt;</translation>
        </message>
    </context>
</TS>