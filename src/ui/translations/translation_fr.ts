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
            <source>&lt;p&gt;Click </source>
            <translation>&lt;p&gt;Cliquez </translation>
        </message>
        <message>
            <source>here</source>
            <translation>ici</translation>
        </message>
        <message>
            <source> if your phone is connected but is not displayed above.&lt;/p&gt;</source>
            <translation> si votre téléphone est branché mais ne figure pas ci-dessus.&lt;/p&gt;</translation>
        </message>
        <message>
            <source>&lt;p&gt;The USB connection on the selected device is not responding correctly. Note that the Veltrane application must be installed and run on the Android device before connecting it. Click </source>
            <translation>&lt;p&gt;La connexion USB de l'appareil choisi ne répond pas correctement. L'application Veltrane doit être installée et lancée sur l'appareil Android avant de le brancher. Cliquez </translation>
        </message>
        <message>
            <source> for details on how to fix this issue.&lt;p&gt;</source>
            <translation> pour savoir comment résoudre ce problème.&lt;p&gt;</translation>
        </message>
        <message>
            <source>It has not been possible to connect to the device. Try restarting the device and your PC then try again.</source>
            <translation>Impossible de se connecter à l'appareil. Redémarrez l'appareil et l'ordinateur, puis réessayez.</translation>
        </message>
        <message>
            <source>Unable to Connect to The Device</source>
            <translation>Connexion à l'appareil impossible</translation>
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
            <source>Sync most recent %1 episodes only</source>
            <translation>Synchroniser les %1 derniers épisodes seulement</translation>
        </message>
        <message>
            <source>Used and available space on your phone:</source>
            <translation>Espace utilisé et disponible sur votre téléphone :</translation>
        </message>
    </context>
    <context>
        <name>QObject</name>
        <message>
            <source>&lt;p&gt;It is necessary to enable the USB connection on your phone before synchronizing. Click </source>
            <translation>&lt;p&gt;Il faut activer la connexion USB de votre téléphone avant de synchroniser. Cliquez </translation>
        </message>
        <message>
            <source>here</source>
            <translation>ici</translation>
        </message>
        <message>
            <source> for instructions on how to do this.&lt;p&gt;</source>
            <translation> pour savoir comment faire.&lt;p&gt;</translation>
        </message>
        <message>
            <source>&lt;p&gt;It was not possible to copy the following tracks to your phone.&lt;/p&gt;&lt;p&gt;Click </source>
            <translation>&lt;p&gt;Les morceaux suivants n'ont pas pu être copiés sur votre téléphone.&lt;/p&gt;&lt;p&gt;Cliquez </translation>
        </message>
        <message>
            <source> to diagnose the problem.&lt;/p&gt;</source>
            <translation> pour diagnostiquer le problème.&lt;/p&gt;</translation>
        </message>
        <message>
            <source>&lt;p&gt;Some of your tracks are copy protected and cannot be played on your phone. These tracks are listed below.&lt;/p&gt;&lt;p&gt;Click </source>
            <translation>&lt;p&gt;Certains de vos morceaux sont protégés contre la copie et ne peuvent pas être lus sur votre téléphone. Ils sont listés ci-dessous.&lt;/p&gt;&lt;p&gt;Cliquez </translation>
        </message>
        <message>
            <source> for more information on copy protected tracks.&lt;/p&gt;</source>
            <translation> pour en savoir plus sur les morceaux protégés.&lt;/p&gt;</translation>
        </message>
        <message>
            <source>&lt;p&gt;The following tracks could not be transferred to your phone because they have not been downloaded in iTunes. You must first download these tracks in iTunes before they can be copied to your phone.&lt;/p&gt;</source>
            <translation>&lt;p&gt;Les morceaux suivants n'ont pas pu être transférés sur votre téléphone car ils n'ont pas été téléchargés dans iTunes. Téléchargez-les d'abord dans iTunes.&lt;/p&gt;</translation>
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
        <name>StatusPanel</name>
        <message>
            <source>Please wait while iTunes is started</source>
            <translation>Veuillez patienter pendant le démarrage d'iTunes</translation>
        </message>
        <message>
            <source>&lt;p&gt;If iTunes is already running then click </source>
            <translation>&lt;p&gt;Si iTunes est déjà lancé, cliquez </translation>
        </message>
        <message>
            <source>here</source>
            <translation>ici</translation>
        </message>
        <message>
            <source> &lt;/p&gt;</source>
            <translation type="unfinished" />
        </message>
        <message>
            <source>Settings</source>
            <translation>Réglages</translation>
        </message>
        <message>
            <source>Help</source>
            <translation>Aide</translation>
        </message>
        <message>
            <source>Synchronize</source>
            <translation>Synchroniser</translation>
        </message>
        <message>
            <source>Force full resynchronization</source>
            <translation>Forcer une resynchronisation complète</translation>
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
            <source>Waiting for the iTunes library</source>
            <translation>En attente de la bibliothèque iTunes</translation>
        </message>
        <message>
            <source>&lt;p&gt;%1&lt;/p&gt;&lt;p&gt;Veltrane reads the library file iTunes keeps in its folder (iTunes Music Library.xml or iTunes Library.xml in Music/iTunes). In iTunes, switch on "Share iTunes Library XML with other applications" under Preferences, Advanced. A library kept elsewhere is named by the setting itunes-library-path in %2 (veltrane-sync --library FILE takes it for one run).&lt;/p&gt;</source>
            <translation type="unfinished" />
        </message>
        <message>
            <source>iTunes has stopped responding. If iTunes is displaying any messages or dialog boxes then close them.</source>
            <translation>iTunes ne répond plus. Si iTunes affiche des messages ou des boîtes de dialogue, fermez-les.</translation>
        </message>
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
            <source>iTunes Information</source>
            <translation>Informations sur iTunes</translation>
        </message>
        <message>
            <source>iTunes must be running for </source>
            <translation>iTunes doit être lancé pour que </translation>
        </message>
        <message>
            <source> to work correctly. It is important that iTunes is not closed while </source>
            <translation> fonctionne correctement. Il ne faut pas fermer iTunes pendant que </translation>
        </message>
        <message>
            <source> is running.</source>
            <translation> fonctionne.</translation>
        </message>
        <message>
            <source>Phone synchronization is complete, but 1 track could not be copied</source>
            <translation>La synchronisation est terminée, mais 1 morceau n'a pas pu être copié</translation>
        </message>
        <message>
            <source>Phone synchronization is complete, but %1 tracks could not be copied</source>
            <translation>La synchronisation est terminée, mais %1 morceaux n'ont pas pu être copiés</translation>
        </message>
        <message>
            <source>Nothing was deleted: these playlists are no longer in iTunes: %1</source>
            <translation>Rien n'a été supprimé : ces listes de lecture ne sont plus dans iTunes : %1</translation>
        </message>
    </context>
    <context>
        <name>SyncWarningDialog</name>
        <message>
            <source>Do not show this warning again</source>
            <translation>Ne plus afficher cet avertissement</translation>
        </message>
        <message>
            <source> (The file could not be found</source>
            <translation> (Le fichier est introuvable</translation>
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
            <source>&lt;p&gt;Synchronization is complete.&lt;/p&gt;&lt;p&gt;Your tracks, playlists and album art will appear in the built-in music app on your phone.&lt;/p&gt;&lt;p&gt;Tracks, playlists and album art may take a while to appear on your phone (tracks will be updated first, followed by playlists, then album art).&lt;/p&gt;&lt;p&gt;Please eject your phone before disconnecting, click </source>
            <translation>&lt;p&gt;La synchronisation est terminée.&lt;/p&gt;&lt;p&gt;Vos morceaux, listes de lecture et pochettes apparaîtront dans l'application musicale de votre téléphone.&lt;/p&gt;&lt;p&gt;Cela peut prendre un moment (d'abord les morceaux, puis les listes de lecture, puis les pochettes).&lt;/p&gt;&lt;p&gt;Éjectez votre téléphone avant de le débrancher, cliquez </translation>
        </message>
        <message>
            <source>here</source>
            <translation>ici</translation>
        </message>
        <message>
            <source> for more details.&lt;/p&gt;</source>
            <translation> pour plus d'informations.&lt;/p&gt;</translation>
        </message>
        <message>
            <source>Do not display this message again.</source>
            <translation>Ne plus afficher ce message.</translation>
        </message>
    </context>
</TS>