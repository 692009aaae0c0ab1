<?xml version='1.0' encoding='utf-8'?>
<TS version="2.1" language="fr">
    <context>
        <name>BackupPage</name>
        <message>
            <source>Phone Setup</source>
            <translation>Configuration du téléphone</translation>
        </message>
        <message>
            <source>Copy messages, contacts, calendar, notes and photos from your old phone's backup to this phone. They are copied once, with the next synchronization.</source>
            <translation>Copiez les messages, les contacts, l'agenda, les notes et les photos de la sauvegarde de votre ancien téléphone sur ce téléphone. Ils sont copiés une fois, lors de la prochaine synchronisation.</translation>
        </message>
        <message>
            <source>Text messages</source>
            <translation>Messages texte</translation>
        </message>
        <message>
            <source>Contacts</source>
            <translation>Contacts</translation>
        </message>
        <message>
            <source>Calendar</source>
            <translation>Agenda</translation>
        </message>
        <message>
            <source>Notes</source>
            <translation>Notes</translation>
        </message>
        <message>
            <source>Photos and videos</source>
            <translation>Photos et vidéos</translation>
        </message>
        <message>
            <source>Do not copy data from another phone</source>
            <translation>Ne pas copier les données d'un autre téléphone</translation>
        </message>
        <message>
            <source>%1 (backed up %2)</source>
            <translation>%1 (sauvegardé le %2)</translation>
        </message>
        <message>
            <source>This backup is encrypted: Veltrane can't read it. Turn off "Encrypt local backup" in iTunes or Finder, make a new backup and choose that one.</source>
            <translation>Cette sauvegarde est chiffrée : Veltrane ne peut pas la lire. Désactivez « Chiffrer la sauvegarde locale » dans iTunes ou le Finder, faites une nouvelle sauvegarde et choisissez-la.</translation>
        </message>
    </context>
    <context>
        <name>ConclusionStartSyncPage</name>
        <message>
            <source>Phone Setup</source>
            <translation>Configuration du téléphone</translation>
        </message>
        <message>
            <source>Album Art</source>
            <translation>Pochettes</translation>
        </message>
        <message>
            <source>Synchronize album art for newly added tracks</source>
            <translation>Synchroniser les pochettes des nouveaux morceaux</translation>
        </message>
        <message>
            <source>Synchronize album art for previously added tracks</source>
            <translation>Synchroniser les pochettes des morceaux déjà copiés</translation>
        </message>
        <message>
            <source>Synchronization Options</source>
            <translation>Options de synchronisation</translation>
        </message>
        <message>
            <source>Copy music to the phone now</source>
            <translation>Copier la musique sur le téléphone maintenant</translation>
        </message>
        <message>
            <source>Copy music to the phone later</source>
            <translation>Copier la musique sur le téléphone plus tard</translation>
        </message>
    </context>
    <context>
        <name>ConnectDevicePage</name>
        <message>
            <source>Phone Setup</source>
            <translation>Configuration du téléphone</translation>
        </message>
        <message>
            <source>&lt;p&gt;Connect your phone to the PC using the USB cable and then select it from the list below.&lt;/p&gt;&lt;p&gt;If your phone requests that you select an option after connecting the cable then select the "MTP" or "Media" option (if available).&lt;/p&gt;</source>
            <translation>&lt;p&gt;Branchez votre téléphone à l'ordinateur avec le câble USB, puis choisissez-le dans la liste ci-dessous.&lt;/p&gt;&lt;p&gt;Si votre téléphone vous demande de choisir une option après le branchement, choisissez « MTP » ou « Média » (si elle existe).&lt;/p&gt;</translation>
        </message>
        <message>
            <source>It has not been possible to connect to the device. Try restarting the device and your PC then try again.</source>
            <translation>Impossible de se connecter à l'appareil. Redémarrez l'appareil et l'ordinateur, puis réessayez.</translation>
        </message>
        <message>
            <source>Unable to Connect to The Device</source>
            <translation>Connexion à l'appareil impossible</translation>
        </message>
        <message>
            <source>&lt;p&gt;Click %1here%2 if your phone is connected but is not displayed above.&lt;/p&gt;</source>
            <translation>&lt;p&gt;Si votre téléphone est branché mais n'apparaît pas ci-dessus, cliquez %1ici%2.&lt;/p&gt;</translation>
        </message>
        <message>
            <source>&lt;p&gt;The USB connection on the selected device is not responding correctly. Note that the Tandrel application must be installed and run on the Android device before connecting it.&lt;/p&gt;</source>
            <translation>&lt;p&gt;La connexion USB de l'appareil choisi ne répond pas correctement. L'application Tandrel doit être installée et lancée sur l'appareil Android avant de le brancher.&lt;/p&gt;</translation>
        </message>
        <message>
            <source>&lt;p&gt;Click %1here%2 for details on how to fix this issue.&lt;/p&gt;</source>
            <translation>&lt;p&gt;Pour savoir comment résoudre ce problème, cliquez %1ici%2.&lt;/p&gt;</translation>
        </message>
    </context>
    <context>
        <name>DeleteTracksConfirm</name>
        <message>
            <source>The following tracks will be removed from your device. Do you want to continue?</source>
            <translation>Les morceaux suivants vont être supprimés de votre appareil. Voulez-vous continuer ?</translation>
        </message>
        <message>
            <source>Always delete tracks without warning</source>
            <translation>Toujours supprimer les morceaux sans avertissement</translation>
        </message>
        <message>
            <source>No</source>
            <translation>Non</translation>
        </message>
        <message>
            <source>Yes</source>
            <translation>Oui</translation>
        </message>
    </context>
    <context>
        <name>DeviceWizard</name>
        <message>
            <source>Your choices could not be saved: %1 can't be written.</source>
            <translation>Vos choix n'ont pas pu être enregistrés : impossible d'écrire %1.</translation>
        </message>
        <message>
            <source>%1 could not be set up: %2</source>
            <translation>%1 n'a pas pu être configuré : %2</translation>
        </message>
    </context>
    <context>
        <name>IntroPage</name>
        <message>
            <source>Phone Setup</source>
            <translation>Configuration du téléphone</translation>
        </message>
        <message>
            <source>A new phone has been detected. This wizard will help you set it up so that it can be synchronized.</source>
            <translation>Un nouveau téléphone a été détecté. Cet assistant vous aide à le configurer pour le synchroniser.</translation>
        </message>
        <message>
            <source>This wizard will help you set up a phone so that it can be synchronized.</source>
            <translation>Cet assistant vous aide à configurer un téléphone pour le synchroniser.</translation>
        </message>
        <message>
            <source>This wizard will help you change your synchronization settings.</source>
            <translation>Cet assistant vous aide à modifier vos réglages de synchronisation.</translation>
        </message>
    </context>
    <context>
        <name>LibraryChooser</name>
        <message>
            <source>%1 is not an iTunes library: %2.</source>
            <translation>%1 n'est pas une bibliothèque iTunes : %2.</translation>
        </message>
        <message>
            <source>No library file is chosen yet.</source>
            <translation>Aucun fichier de bibliothèque n'est encore choisi.</translation>
        </message>
        <message>
            <source>The library file stays %1.</source>
            <translation>Le fichier de bibliothèque reste %1.</translation>
        </message>
        <message>
            <source>Choose the iTunes library file</source>
            <translation>Choisir le fichier de la bibliothèque iTunes</translation>
        </message>
        <message>
            <source>iTunes library (*.xml);;All files (*)</source>
            <translation>Bibliothèque iTunes (*.xml);;Tous les fichiers (*)</translation>
        </message>
        <message>
            <source>the settings file %1 can't be written</source>
            <translation>le fichier des réglages %1 ne peut pas être écrit</translation>
        </message>
    </context>
    <context>
        <name>LibraryPage</name>
        <message>
            <source>Phone Setup</source>
            <translation>Configuration du téléphone</translation>
        </message>
        <message>
            <source>The iTunes library whose music goes onto the phone.</source>
            <translation>La bibliothèque iTunes dont la musique va sur le téléphone.</translation>
        </message>
        <message>
            <source>C&amp;hoose another library file...</source>
            <translation>C&amp;hoisir un autre fichier de bibliothèque...</translation>
        </message>
        <message>
            <source>Reading the library...</source>
            <translation>Lecture de la bibliothèque...</translation>
        </message>
        <message>
            <source>No library file is chosen yet.</source>
            <translation>Aucun fichier de bibliothèque n'est encore choisi.</translation>
        </message>
        <message>
            <source>Library file: %1</source>
            <translation>Fichier de bibliothèque : %1</translation>
        </message>
        <message>
            <source>The library holds %1 and %2.</source>
            <translation>La bibliothèque contient %1 et %2.</translation>
        </message>
        <message numerus="yes">
            <source>%n track(s)</source>
            <translation>
                <numerusform>%n morceau</numerusform>
                <numerusform>%n morceaux</numerusform>
            </translation>
        </message>
        <message numerus="yes">
            <source>%n playlist(s)</source>
            <translation>
                <numerusform>%n liste de lecture</numerusform>
                <numerusform>%n listes de lecture</numerusform>
            </translation>
        </message>
        <message>
            <source>It can't be read: %1.</source>
            <translation>Elle ne peut pas être lue : %1.</translation>
        </message>
    </context>
    <context>
        <name>PlaylistSettingsPage</name>
        <message>
            <source>Phone Setup</source>
            <translation>Configuration du téléphone</translation>
        </message>
        <message>
            <source>Do not copy podcasts to phone</source>
            <translation>Ne pas copier de podcasts sur le téléphone</translation>
        </message>
        <message>
            <source>Copy all podcasts to the phone</source>
            <translation>Copier tous les podcasts sur le téléphone</translation>
        </message>
        <message>
            <source>Copy selected podcasts to the phone</source>
            <translation>Copier les podcasts choisis sur le téléphone</translation>
        </message>
        <message>
            <source>Copy the complete music library to the phone</source>
            <translation>Copier toute la bibliothèque musicale sur le téléphone</translation>
        </message>
        <message>
            <source>Copy the contents of an existing iTunes playlist to the phone</source>
            <translation>Copier le contenu d'une liste de lecture iTunes sur le téléphone</translation>
        </message>
        <message>
            <source>Do not copy music to the phone</source>
            <translation>Ne pas copier de musique sur le téléphone</translation>
        </message>
        <message>
            <source>Episode options:</source>
            <translation>Épisodes :</translation>
        </message>
        <message>
            <source>Sync all episodes</source>
            <translation>Synchroniser tous les épisodes</translation>
        </message>
        <message>
            <source>Sync most recent episode only</source>
            <translation>Synchroniser le dernier épisode seulement</translation>
        </message>
        <message>
            <source>Used and available space on your phone:</source>
            <translation>Espace utilisé et disponible sur votre téléphone :</translation>
        </message>
        <message numerus="yes">
            <source>Sync most recent %n episode(s) only</source>
            <translation>
                <numerusform>Synchroniser le dernier épisode seulement</numerusform>
                <numerusform>Synchroniser les %n derniers épisodes seulement</numerusform>
            </translation>
        </message>
        <message>
            <source>The chosen podcasts take %1 on the phone.</source>
            <translation>Les podcasts choisis occupent %1 sur le téléphone.</translation>
        </message>
        <message>
            <source>The chosen music takes %1 on the phone.</source>
            <translation>La musique choisie occupe %1 sur le téléphone.</translation>
        </message>
    </context>
    <context>
        <name>RunDialogs</name>
        <message>
            <source>Not Enough Space</source>
            <translation>Espace insuffisant</translation>
        </message>
        <message>
            <source>You do not have enough space on your phone to complete the synchronization.  You need to free up %1 MB. Do you want to continue with the sync anyway? Note that if you do this then some tracks will not be copied.</source>
            <translation>Votre téléphone n'a pas assez d'espace pour terminer la synchronisation.  Il faut libérer %1 Mo. Voulez-vous synchroniser quand même ? Dans ce cas, certains morceaux ne seront pas copiés.</translation>
        </message>
        <message>
            <source>Don't Sync</source>
            <translation>Ne pas synchroniser</translation>
        </message>
        <message>
            <source>Sync Anyway</source>
            <translation>Synchroniser quand même</translation>
        </message>
        <message>
            <source>&lt;p&gt;It has not been possible to transfer data from the selected backup. If the backup is encrypted then please create a non-encrypted backup using iTunes.&lt;/p&gt;</source>
            <translation>&lt;p&gt;Impossible de transférer les données de la sauvegarde choisie. Si la sauvegarde est chiffrée, créez une sauvegarde non chiffrée avec iTunes.&lt;/p&gt;</translation>
        </message>
        <message>
            <source>&lt;p&gt;Not all data from the selected backup could be copied to your phone:&lt;/p&gt;&lt;ul&gt;%1&lt;/ul&gt;&lt;p&gt;The next synchronization will try again.&lt;/p&gt;</source>
            <translation>&lt;p&gt;Toutes les données de la sauvegarde choisie n'ont pas pu être copiées sur votre téléphone :&lt;/p&gt;&lt;ul&gt;%1&lt;/ul&gt;&lt;p&gt;La prochaine synchronisation réessaiera.&lt;/p&gt;</translation>
        </message>
    </context>
    <context>
        <name>SpaceGauge</name>
        <message>
            <source>%1 used, %2 free of %3</source>
            <translation>%1 utilisés, %2 libres sur %3</translation>
        </message>
    </context>
    <context>
        <name>StatusPanel</name>
        <message>
            <source>Please wait while the iTunes library is read</source>
            <translation>Veuillez patienter pendant la lecture de la bibliothèque iTunes</translation>
        </message>
        <message>
            <source>&amp;Choose library file...</source>
            <translation>&amp;Choisir le fichier de bibliothèque...</translation>
        </message>
        <message>
            <source>&amp;Settings</source>
            <translation>&amp;Réglages</translation>
        </message>
        <message>
            <source>&amp;Help</source>
            <translation>&amp;Aide</translation>
        </message>
        <message>
            <source>S&amp;ynchronize</source>
            <translation>S&amp;ynchroniser</translation>
        </message>
        <message>
            <source>&amp;Force full resynchronization</source>
            <translation>&amp;Forcer une resynchronisation complète</translation>
        </message>
        <message>
            <source>&amp;Cancel</source>
            <translation>A&amp;nnuler</translation>
        </message>
        <message>
            <source>Waiting for the iTunes library</source>
            <translation>En attente de la bibliothèque iTunes</translation>
        </message>
    </context>
    <context>
        <name>SyncState</name>
        <message>
            <source>Connect your phone to the PC</source>
            <translation>Branchez votre téléphone à l'ordinateur</translation>
        </message>
        <message>
            <source>If your phone is already connected then click Help</source>
            <translation>Si votre téléphone est déjà branché, cliquez sur Aide</translation>
        </message>
        <message>
            <source>A phone is connected and is ready to be synchronized</source>
            <translation>Un téléphone est branché et prêt à être synchronisé</translation>
        </message>
        <message>
            <source>Phone synchronization is complete</source>
            <translation>La synchronisation du téléphone est terminée</translation>
        </message>
        <message>
            <source>Phone synchronization did not complete</source>
            <translation>La synchronisation du téléphone n'a pas abouti</translation>
        </message>
        <message>
            <source>The synchronization was stopped by an error.</source>
            <translation>La synchronisation a été arrêtée par une erreur.</translation>
        </message>
        <message>
            <source>This device is not set up for synchronization</source>
            <translation>Cet appareil n'est pas configuré pour la synchronisation</translation>
        </message>
        <message>
            <source>The settings file can't be read</source>
            <translation>Le fichier des réglages ne peut pas être lu</translation>
        </message>
        <message>
            <source>Phone synchronization was cancelled</source>
            <translation>La synchronisation du téléphone a été annulée</translation>
        </message>
        <message>
            <source>Scanning iTunes Library</source>
            <translation>Analyse de la bibliothèque iTunes</translation>
        </message>
        <message>
            <source>Please Wait</source>
            <translation>Veuillez patienter</translation>
        </message>
        <message>
            <source>Preparing to synchronize</source>
            <translation>Préparation de la synchronisation</translation>
        </message>
        <message>
            <source>Preparing to delete tracks</source>
            <translation>Préparation de la suppression des morceaux</translation>
        </message>
        <message>
            <source>Checking for album art</source>
            <translation>Recherche des pochettes</translation>
        </message>
        <message>
            <source>Deleting tracks from the phone</source>
            <translation>Suppression des morceaux du téléphone</translation>
        </message>
        <message>
            <source>Copying tracks to the phone</source>
            <translation>Copie des morceaux sur le téléphone</translation>
        </message>
        <message>
            <source>Cancelling</source>
            <translation>Annulation</translation>
        </message>
        <message>
            <source>Updating playlists</source>
            <translation>Mise à jour des listes de lecture</translation>
        </message>
        <message>
            <source>Copying photos to the phone</source>
            <translation>Copie des photos sur le téléphone</translation>
        </message>
        <message>
            <source>Converting video</source>
            <translation>Conversion de la vidéo</translation>
        </message>
    </context>
    <context>
        <name>SyncUi</name>
        <message>
            <source>&lt;p&gt;It has not been possible to connect to the attached device. If the screen is locked then disconnect the device, unlock the screen then reconnect it.&lt;/p&gt;&lt;p&gt;If the problem persists try rebooting the phone and the PC then try again.&lt;/p&gt;</source>
            <translation>&lt;p&gt;Impossible de se connecter à l'appareil branché. Si l'écran est verrouillé, débranchez l'appareil, déverrouillez l'écran puis rebranchez-le.&lt;/p&gt;&lt;p&gt;Si le problème persiste, redémarrez le téléphone et l'ordinateur puis réessayez.&lt;/p&gt;</translation>
        </message>
        <message>
            <source>It has not been possible to connect to the device. Try restarting the device and your PC then try again.</source>
            <translation>Impossible de se connecter à l'appareil. Redémarrez l'appareil et l'ordinateur, puis réessayez.</translation>
        </message>
        <message>
            <source>Unable to Connect to The Device</source>
            <translation>Connexion à l'appareil impossible</translation>
        </message>
        <message>
            <source>Nothing was deleted: these playlists are no longer in iTunes: %1</source>
            <translation>Rien n'a été supprimé : ces listes de lecture ne sont plus dans iTunes : %1</translation>
        </message>
        <message>
            <source>Reading %1</source>
            <translation>Lecture de %1</translation>
        </message>
        <message>
            <source>&lt;p&gt;%1&lt;/p&gt;&lt;p&gt;Veltrane reads the library file that iTunes writes on the computer that has it (iTunes Music Library.xml or iTunes Library.xml, in its iTunes folder; Music writes one when you export its library). Choose that file, on that computer's disk or share or as a copy.&lt;/p&gt;</source>
            <translation>&lt;p&gt;%1&lt;/p&gt;&lt;p&gt;Veltrane lit le fichier de bibliothèque qu'iTunes écrit sur l'ordinateur où il est installé (iTunes Music Library.xml ou iTunes Library.xml, dans son dossier iTunes ; l'app Musique en écrit un quand vous exportez sa bibliothèque). Choisissez ce fichier, sur le disque ou le partage de cet ordinateur, ou une copie.&lt;/p&gt;</translation>
        </message>
        <message numerus="yes">
            <source>%n track(s) of the library are not on this computer: their files are under %1 of another computer.</source>
            <translation>
                <numerusform>%n morceau de la bibliothèque n'est pas sur cet ordinateur : son fichier est sous %1 d'un autre ordinateur.</numerusform>
                <numerusform>%n morceaux de la bibliothèque ne sont pas sur cet ordinateur : leurs fichiers sont sous %1 d'un autre ordinateur.</numerusform>
            </translation>
        </message>
        <message>
            <source>Choose the folder that holds them here...</source>
            <translation>Choisir le dossier qui les contient ici...</translation>
        </message>
        <message>
            <source>The folder that holds what is under %1</source>
            <translation>Le dossier qui contient ce qui est sous %1</translation>
        </message>
        <message>
            <source>The mapping could not be saved: %1 can't be written.</source>
            <translation>La correspondance n'a pas pu être enregistrée : impossible d'écrire %1.</translation>
        </message>
        <message numerus="yes">
            <source>Copied %1 of %n track(s) before the synchronization stopped.</source>
            <translation>
                <numerusform>Copiés avant l'arrêt de la synchronisation : %1 sur %n morceau.</numerusform>
                <numerusform>Copiés avant l'arrêt de la synchronisation : %1 sur %n morceaux.</numerusform>
            </translation>
        </message>
        <message numerus="yes">
            <source>Phone synchronization is complete, but %n track(s) could not be copied</source>
            <translation>
                <numerusform>La synchronisation du téléphone est terminée, mais %n morceau n'a pas pu être copié</numerusform>
                <numerusform>La synchronisation du téléphone est terminée, mais %n morceaux n'ont pas pu être copiés</numerusform>
            </translation>
        </message>
    </context>
    <context>
        <name>SyncUiTexts</name>
        <message>
            <source>&lt;p&gt;It is necessary to enable the USB connection on your phone before synchronizing.&lt;/p&gt;</source>
            <translation>&lt;p&gt;Avant de synchroniser, il faut activer la connexion USB sur votre téléphone.&lt;/p&gt;</translation>
        </message>
        <message>
            <source>&lt;p&gt;Click %1here%2 for instructions on how to do this.&lt;/p&gt;</source>
            <translation>&lt;p&gt;Cliquez %1ici%2 pour savoir comment faire.&lt;/p&gt;</translation>
        </message>
    </context>
    <context>
        <name>SyncWarningDialog</name>
        <message>
            <source>Do not show this warning again</source>
            <translation>Ne plus afficher cet avertissement</translation>
        </message>
        <message>
            <source>&lt;p&gt;It was not possible to copy the following tracks to your phone.&lt;/p&gt;</source>
            <translation>&lt;p&gt;Les morceaux suivants n'ont pas pu être copiés sur votre téléphone.&lt;/p&gt;</translation>
        </message>
        <message>
            <source>&lt;p&gt;Click %1here%2 to diagnose the problem.&lt;/p&gt;</source>
            <translation>&lt;p&gt;Cliquez %1ici%2 pour trouver la cause du problème.&lt;/p&gt;</translation>
        </message>
        <message>
            <source>&lt;p&gt;Some of your tracks are copy protected and cannot be played on your phone. These tracks are listed below.&lt;/p&gt;</source>
            <translation>&lt;p&gt;Certains de vos morceaux sont protégés contre la copie et ne peuvent pas être lus sur votre téléphone. Ils sont listés ci-dessous.&lt;/p&gt;</translation>
        </message>
        <message>
            <source>&lt;p&gt;Click %1here%2 for more information on copy protected tracks.&lt;/p&gt;</source>
            <translation>&lt;p&gt;Cliquez %1ici%2 pour en savoir plus sur les morceaux protégés.&lt;/p&gt;</translation>
        </message>
        <message>
            <source>&lt;p&gt;The following tracks could not be transferred to your phone because they have not been downloaded in iTunes. You must first download these tracks in iTunes before they can be copied to your phone.&lt;/p&gt;</source>
            <translation>&lt;p&gt;Les morceaux suivants n'ont pas pu être transférés sur votre téléphone car ils n'ont pas été téléchargés dans iTunes. Téléchargez-les d'abord dans iTunes.&lt;/p&gt;</translation>
        </message>
        <message>
            <source>%1 (The file could not be found)</source>
            <translation>%1 (Le fichier est introuvable)</translation>
        </message>
        <message>
            <source>%1 (The file could not be found : %2)</source>
            <translation>%1 (Le fichier est introuvable : %2)</translation>
        </message>
    </context>
    <context>
        <name>UpdateDialog</name>
        <message>
            <source>Do not display this message again.</source>
            <translation>Ne plus afficher ce message.</translation>
        </message>
    </context>
    <context>
        <name>UsbEjectWarning</name>
        <message>
            <source>Do not display this message again.</source>
            <translation>Ne plus afficher ce message.</translation>
        </message>
        <message>
            <source>&lt;p&gt;Synchronization is complete.&lt;/p&gt;&lt;p&gt;Your tracks, playlists and album art will appear in the built-in music app on your phone.&lt;/p&gt;&lt;p&gt;Tracks, playlists and album art may take a while to appear on your phone (tracks will be updated first, followed by playlists, then album art).&lt;/p&gt;&lt;p&gt;Please eject your phone before disconnecting.&lt;/p&gt;</source>
            <translation>&lt;p&gt;La synchronisation est terminée.&lt;/p&gt;&lt;p&gt;Vos morceaux, listes de lecture et pochettes apparaîtront dans l'app de musique de votre téléphone.&lt;/p&gt;&lt;p&gt;Ils peuvent mettre un moment à apparaître (d'abord les morceaux, puis les listes de lecture, enfin les pochettes).&lt;/p&gt;&lt;p&gt;Éjectez votre téléphone avant de le débrancher.&lt;/p&gt;</translation>
        </message>
        <message>
            <source>&lt;p&gt;Click %1here%2 for more details.&lt;/p&gt;</source>
            <translation>&lt;p&gt;Cliquez %1ici%2 pour en savoir plus.&lt;/p&gt;</translation>
        </message>
    </context>
</TS>