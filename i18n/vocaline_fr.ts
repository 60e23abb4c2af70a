<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="fr_FR">
<context>
    <name>CAboutDlg</name>
    <message>
        <source>About Vocaline</source>
        <translation>À propos de Vocaline</translation>
    </message>
    <message>
        <source>Vocaline Version 1.0</source>
        <translation>Vocaline version 1.0</translation>
    </message>
    <message>
        <source>Written by its author, 2003</source>
        <translation>Écrit par son auteur, 2003</translation>
    </message>
    <message>
        <source>OK</source>
        <translation>OK</translation>
    </message>
    <message>
        <source>Sound Extractor for HP 618 camera jpg files.</source>
        <translation>Extracteur de son pour les fichiers jpg du HP 618.</translation>
    </message>
    <message>
        <source>The audio section of the HP 618 EXIF jpg file can be extracted to a .wav file. The .wav file name will be the source filename + .wav eg the wav file for pic.jpg will be pic.jpg.wav</source>
        <translation>La partie audio du fichier jpg EXIF du HP 618 peut être extraite dans un fichier .wav, nommé d’après la source + .wav : le fichier wav de pic.jpg sera pic.jpg.wav</translation>
    </message>
    <message>
        <source>This program was tested with the HP 618 camera files; it also reads the FlashPix voice memos of other cameras.</source>
        <translation>Ce programme a été testé avec les fichiers de l’appareil HP 618 ; il lit aussi les mémos vocaux FlashPix d’autres appareils.</translation>
    </message>
    <message>
        <source>The search function is based on a folder-search sample program published with a programming magazine article; credit for it goes to that sample&apos;s author and its publisher.</source>
        <translation>La fonction de recherche s’appuie sur un programme d’exemple de recherche de dossiers publié avec un article d’un magazine de programmation ; le mérite en revient à l’auteur de cet exemple et à son éditeur.</translation>
    </message>
    <message>
        <source>This software is provided as is, without any warranty.</source>
        <translation>Ce logiciel est fourni tel quel, sans aucune garantie.</translation>
    </message>
    <message>
        <source>The wav files play through this program itself, which decodes the camera&apos;s IMA ADPCM sound: there is no codec to install. Extract as PCM WAV makes copies that play in any player.</source>
        <translation>Les fichiers wav sont lus par ce programme lui-même, qui décode le son IMA ADPCM de l’appareil : aucun codec n’est à installer. « Extraire en WAV PCM » fait des copies que tout lecteur sait lire.</translation>
    </message>
    <message>
        <source>This program uses Qt, SDL, libgsf, libexif and OpenSSL&apos;s libcrypto, installed with it. It is in the menu, and file managers offer it as &quot;Find voice memos here&quot; on folders and &quot;Open in Vocaline&quot; on jpg files.</source>
        <translation>Ce programme utilise Qt, SDL, libgsf, libexif et libcrypto d’OpenSSL, installés avec lui. Il figure dans le menu, et les gestionnaires de fichiers le proposent sous « Rechercher les mémos vocaux ici » pour les dossiers et « Ouvrir dans Vocaline » pour les fichiers jpg.</translation>
    </message>
</context>
<context>
    <name>CActivityPanel</name>
    <message>
        <source>Activity</source>
        <translation>Activité</translation>
    </message>
</context>
<context>
    <name>CDataExchange</name>
    <message>
        <source>Please enter an integer.</source>
        <translation>Veuillez saisir un nombre entier.</translation>
    </message>
</context>
<context>
    <name>CMainDlg</name>
    <message>
        <source>Please select a item in the Search results list</source>
        <translation>Veuillez sélectionner un élément dans la liste des résultats de la recherche</translation>
    </message>
    <message>
        <source>Could not play the sound</source>
        <translation>Impossible de lire le son</translation>
    </message>
    <message>
        <source>Select a directory...</source>
        <translation>Choisir un dossier...</translation>
    </message>
    <message>
        <source>&amp;Open</source>
        <translation>&amp;Ouvrir</translation>
    </message>
    <message>
        <source>Open containing &amp;folder</source>
        <translation>Ouvrir le &amp;dossier contenant</translation>
    </message>
    <message>
        <source>&amp;Play</source>
        <translation>&amp;Lire</translation>
    </message>
    <message>
        <source>S&amp;top playing</source>
        <translation>&amp;Arrêter la lecture</translation>
    </message>
    <message>
        <source>&amp;Extract Sound</source>
        <translation>E&amp;xtraire le son</translation>
    </message>
    <message>
        <source>Extract as PCM &amp;WAV</source>
        <translation>Extraire en &amp;WAV PCM</translation>
    </message>
    <message>
        <source>Extract what &amp;survives</source>
        <translation>Extraire ce qui &amp;subsiste</translation>
    </message>
    <message>
        <source>&amp;Copy path</source>
        <translation>&amp;Copier le chemin</translation>
    </message>
    <message>
        <source>Playing %s</source>
        <translation>Lecture de %s</translation>
    </message>
    <message>
        <source>No sound to play in
%s</source>
        <translation>Aucun son à lire dans
%s</translation>
    </message>
    <message>
        <source>&amp;Cancel</source>
        <translation>&amp;Annuler</translation>
    </message>
    <message>
        <source>&amp;Search</source>
        <translation>Re&amp;chercher</translation>
    </message>
    <message>
        <source>The folder to look in does not exist:
%s</source>
        <translation>Le dossier où rechercher n’existe pas :
%s</translation>
    </message>
    <message>
        <source>The folder to look in cannot be read:
%s
%s</source>
        <translation>Le dossier où rechercher ne peut pas être lu :
%s
%s</translation>
    </message>
    <message>
        <source>%d items found</source>
        <translation>%d éléments trouvés</translation>
    </message>
    <message>
        <source>&amp;Look in</source>
        <translation>Rechercher &amp;dans</translation>
    </message>
    <message>
        <source>The folder to search; ~ is your home folder</source>
        <translation>Le dossier où rechercher ; ~ est votre dossier personnel</translation>
    </message>
    <message>
        <source>&amp;Browse ...</source>
        <translation>&amp;Parcourir...</translation>
    </message>
    <message>
        <source>Pick the folder to search</source>
        <translation>Choisir le dossier où rechercher</translation>
    </message>
    <message>
        <source>&amp;For files named</source>
        <translation>&amp;Nom des fichiers</translation>
    </message>
    <message>
        <source>A file-name pattern; * and ? are wildcards</source>
        <translation>Un modèle de nom de fichier ; * et ? sont des jokers</translation>
    </message>
    <message>
        <source>Con&amp;taining text</source>
        <translation>&amp;Texte contenu</translation>
    </message>
    <message>
        <source>Only files whose contents hold this text</source>
        <translation>Seulement les fichiers dont le contenu renferme ce texte</translation>
    </message>
    <message>
        <source>Search in sub&amp;directories</source>
        <translation>Inclure les &amp;sous-dossiers</translation>
    </message>
    <message>
        <source>Chec&amp;k for sound</source>
        <translation>&amp;Vérifier le son</translation>
    </message>
    <message>
        <source>&amp;Only list files with sound</source>
        <translation>N’afficher que les &amp;fichiers avec son</translation>
    </message>
    <message>
        <source>Si&amp;ze between (in KB) ...</source>
        <translation>Taille &amp;entre (en KB)...</translation>
    </message>
    <message>
        <source>Smallest size in KB</source>
        <translation>Taille minimale en KB</translation>
    </message>
    <message>
        <source>and</source>
        <translation>et</translation>
    </message>
    <message>
        <source>Largest size in KB</source>
        <translation>Taille maximale en KB</translation>
    </message>
    <message>
        <source>&amp;Replace list</source>
        <translation>&amp;Remplacer la liste</translation>
    </message>
    <message>
        <source>The hits of a search take the place of the list</source>
        <translation>Les résultats d’une recherche prennent la place de la liste</translation>
    </message>
    <message>
        <source>&amp;Add to list</source>
        <translation>&amp;Ajouter à la liste</translation>
    </message>
    <message>
        <source>The hits not listed yet are added</source>
        <translation>Les résultats pas encore listés sont ajoutés</translation>
    </message>
    <message>
        <source>Re&amp;move from list</source>
        <translation>Ret&amp;irer de la liste</translation>
    </message>
    <message>
        <source>The rows of the hits are taken off the list</source>
        <translation>Les lignes des résultats sont retirées de la liste</translation>
    </message>
    <message>
        <source>Writes the memo of each selected row beside its picture</source>
        <translation>Écrit le mémo de chaque ligne sélectionnée à côté de sa photo</translation>
    </message>
    <message>
        <source>Extract and &amp;play</source>
        <translation>Extraire et &amp;lire</translation>
    </message>
    <message>
        <source>Writes the memo of the first selected row and plays it</source>
        <translation>Écrit le mémo de la première ligne sélectionnée et le lit</translation>
    </message>
    <message>
        <source>Abo&amp;ut</source>
        <translation>À pr&amp;opos</translation>
    </message>
    <message>
        <source>Log</source>
        <translation>Journal</translation>
    </message>
    <message>
        <source>What the last extraction did</source>
        <translation>Ce qu’a fait la dernière extraction</translation>
    </message>
    <message>
        <source>Search results</source>
        <translation>Résultats de la recherche</translation>
    </message>
    <message>
        <source>Enter or a double-click opens a row; the context menu has more</source>
        <translation>Entrée ou un double-clic ouvre une ligne ; le menu contextuel en offre davantage</translation>
    </message>
    <message>
        <source>%d memos written, %d without a memo, %d failed</source>
        <translation>%d mémos écrits, %d sans mémo, %d en échec</translation>
    </message>
    <message>
        <source>, cancelled</source>
        <translation>, annulé</translation>
    </message>
    <message>
        <source>No program is set up to open
%s</source>
        <translation>Aucun programme n’est configuré pour ouvrir
%s</translation>
    </message>
    <message>
        <source>Export list…</source>
        <translation>Exporter la liste…</translation>
    </message>
    <message>
        <source>Export list</source>
        <translation>Exporter la liste</translation>
    </message>
    <message>
        <source>CSV files (*.csv)</source>
        <translation>Fichiers CSV (*.csv)</translation>
    </message>
    <message>
        <source>Could not write the list</source>
        <translation>Impossible d’écrire la liste</translation>
    </message>
    <message>
        <source>Search cancelled, %d items found</source>
        <translation>Recherche annulée, %d éléments trouvés</translation>
    </message>
    <message>
        <source>0 items found, %d files outside the size range</source>
        <translation>0 éléments trouvés, %d fichiers hors de la plage de taille</translation>
    </message>
    <message>
        <source>%d items found, %d with sound</source>
        <translation>%d éléments trouvés, %d avec son</translation>
    </message>
    <message>
        <source>no sound device</source>
        <translation>aucun périphérique audio</translation>
    </message>
    <message>
        <source>Select a folder for the WAV files</source>
        <translation>Choisir un dossier pour les fichiers WAV</translation>
    </message>
    <message>
        <source>The folder %s cannot be written.
Extract to another folder?</source>
        <translation>Le dossier %s n’est pas accessible en écriture.
Extraire vers un autre dossier ?</translation>
    </message>
    <message>
        <source>E&amp;xtract to…</source>
        <translation>Extraire vers &amp;un dossier…</translation>
    </message>
    <message>
        <source>Extract to…</source>
        <translation>Extraire vers un dossier…</translation>
    </message>
    <message>
        <source>Writes the memos of the selected rows to a folder you choose, in the same tree</source>
        <translation>Écrit les mémos des lignes sélectionnées dans un dossier de votre choix, avec la même arborescence</translation>
    </message>
</context>
<context>
    <name>CMemoPanel</name>
    <message>
        <source>Memo</source>
        <translation>Mémo</translation>
    </message>
    <message>
        <source>Play</source>
        <translation>Lire</translation>
    </message>
    <message>
        <source>Stop</source>
        <translation>Arrêter</translation>
    </message>
</context>
<context>
    <name>CMemoWords</name>
    <message>
        <source>Voice memo, under a second</source>
        <translation>Mémo vocal, moins d’une seconde</translation>
    </message>
    <message>
        <source>Voice memo, 1 second</source>
        <translation>Mémo vocal, 1 seconde</translation>
    </message>
    <message numerus="yes">
        <source>Voice memo, %n seconds</source>
        <translation>
            <numerusform>Mémo vocal, %n seconde</numerusform>
            <numerusform>Mémo vocal, %n secondes</numerusform>
        </translation>
    </message>
    <message>
        <source>mono</source>
        <translation>mono</translation>
    </message>
    <message>
        <source>stereo</source>
        <translation>stéréo</translation>
    </message>
    <message numerus="yes">
        <source>%n channels</source>
        <translation>
            <numerusform>%n canal</numerusform>
            <numerusform>%n canaux</numerusform>
        </translation>
    </message>
    <message>
        <source>%1, %2 Hz, %3</source>
        <translation>%1, %2 Hz, %3</translation>
    </message>
</context>
<context>
    <name>CPreviewPane</name>
    <message>
        <source>Picture</source>
        <translation>Photo</translation>
    </message>
    <message>
        <source>No preview</source>
        <translation>Aucun aperçu</translation>
    </message>
    <message>
        <source>No memo</source>
        <translation>Aucun mémo</translation>
    </message>
    <message>
        <source>Select a picture to see it and hear its memo</source>
        <translation>Choisissez une photo pour la voir et entendre son mémo</translation>
    </message>
</context>
<context>
    <name>CResultsList</name>
    <message>
        <source>Yes</source>
        <translation>Oui</translation>
    </message>
    <message>
        <source>No</source>
        <translation>Non</translation>
    </message>
    <message>
        <source>Name</source>
        <translation>Nom</translation>
    </message>
    <message>
        <source>In Folder</source>
        <translation>Dans le dossier</translation>
    </message>
    <message>
        <source>Size</source>
        <translation>Taille</translation>
    </message>
    <message>
        <source>Modified</source>
        <translation>Modifié</translation>
    </message>
    <message>
        <source>Sound ?</source>
        <translation>Son ?</translation>
    </message>
    <message>
        <source>beside it: %s</source>
        <translation>à côté : %s</translation>
    </message>
    <message>
        <source>inside the picture</source>
        <translation>dans la photo</translation>
    </message>
    <message>
        <source>in the phone&apos;s trailer</source>
        <translation>dans la fin de fichier du téléphone</translation>
    </message>
    <message>
        <source>in the FlashPix file</source>
        <translation>dans le fichier FlashPix</translation>
    </message>
    <message>
        <source>Missing</source>
        <translation>Manquant</translation>
    </message>
    <message>
        <source>?</source>
        <translation>?</translation>
    </message>
    <message>
        <source>The camera recorded %s; it is not beside the picture</source>
        <translation>L’appareil a enregistré %s ; le fichier n’est pas à côté de la photo</translation>
    </message>
</context>
<context>
    <name>CResultsViews</name>
    <message>
        <source>List</source>
        <translation>Liste</translation>
    </message>
    <message>
        <source>Thumbnails</source>
        <translation>Vignettes</translation>
    </message>
</context>
<context>
    <name>CSearchBar</name>
    <message>
        <source>Search options</source>
        <translation>Options de recherche</translation>
    </message>
</context>
<context>
    <name>CThumbGrid</name>
    <message>
        <source>Thumbnails</source>
        <translation>Vignettes</translation>
    </message>
</context>
<context>
    <name>CWaveform</name>
    <message>
        <source>Waveform</source>
        <translation>Forme d’onde</translation>
    </message>
    <message>
        <source>Position</source>
        <translation>Position</translation>
    </message>
</context>
<context>
    <name>CWorkStatus</name>
    <message>
        <source>Cancel</source>
        <translation>Annuler</translation>
    </message>
    <message>
        <source>Progress</source>
        <translation>Progression</translation>
    </message>
    <message>
        <source>%v of %m</source>
        <translation>%v sur %m</translation>
    </message>
</context>
<context>
    <name>IExtractReport</name>
    <message>
        <source>Output file: %s Done</source>
        <translation>Fichier de sortie : %s Terminé</translation>
    </message>
    <message>
        <source>Output file: %s Partial</source>
        <translation>Fichier de sortie : %s Partiel</translation>
    </message>
    <message>
        <source>Error No items were selected!</source>
        <translation>Erreur : aucun élément n’a été sélectionné !</translation>
    </message>
    <message>
        <source>Error could not open file

%s</source>
        <translation>Erreur : impossible d’ouvrir le fichier

%s</translation>
    </message>
    <message>
        <source>Error reading first two charactes fromfile</source>
        <translation>Erreur de lecture des deux premiers caractères du fichier</translation>
    </message>
    <message>
        <source>Error File is not a jpg........................................</source>
        <translation>Erreur : le fichier n’est pas un jpg........................................</translation>
    </message>
    <message>
        <source>Error File missing APP1 0xe1ff marker</source>
        <translation>Erreur : il manque au fichier le marqueur APP1 0xe1ff</translation>
    </message>
    <message>
        <source>Error reading four charactes fromfile</source>
        <translation>Erreur de lecture de quatre caractères du fichier</translation>
    </message>
    <message>
        <source>Error cant open/create output file
%s</source>
        <translation>Erreur : impossible d’ouvrir ou de créer le fichier de sortie
%s</translation>
    </message>
    <message>
        <source>Error cant open/create output file</source>
        <translation>Erreur : impossible d’ouvrir ou de créer le fichier de sortie</translation>
    </message>
    <message>
        <source>Error writing output file
%s</source>
        <translation>Erreur d’écriture du fichier de sortie
%s</translation>
    </message>
    <message>
        <source>Error writing output file</source>
        <translation>Erreur d’écriture du fichier de sortie</translation>
    </message>
    <message>
        <source>Error reading sound data from file
%s</source>
        <translation>Erreur de lecture des données sonores du fichier
%s</translation>
    </message>
    <message>
        <source>Error sound data in file is cut short
%s</source>
        <translation>Erreur : les données sonores du fichier sont tronquées
%s</translation>
    </message>
    <message>
        <source>Error sound data cut short, no output file written</source>
        <translation>Erreur : données sonores tronquées, aucun fichier de sortie écrit</translation>
    </message>
    <message>
        <source>Error sound data larger than 256 MB
%s</source>
        <translation>Erreur : les données sonores dépassent 256 Mo
%s</translation>
    </message>
    <message>
        <source>Error sound data larger than 256 MB, no output file written</source>
        <translation>Erreur : données sonores de plus de 256 Mo, aucun fichier de sortie écrit</translation>
    </message>
    <message>
        <source>Sound format not decoded, written as stored</source>
        <translation>Format sonore non décodé, écrit tel quel</translation>
    </message>
    <message>
        <source>No Audio in file....................................................</source>
        <translation>Pas de son dans le fichier....................................................</translation>
    </message>
    <message>
        <source>Error sound too long for a PCM WAV file (over 4 GB)
%s</source>
        <translation>Erreur : son trop long pour un fichier WAV PCM (plus de 4 Go)
%s</translation>
    </message>
    <message>
        <source>Error sound too long for a PCM WAV file, no output file written</source>
        <translation>Erreur : son trop long pour un fichier WAV PCM, aucun fichier de sortie écrit</translation>
    </message>
</context>
<context>
    <name>services</name>
    <message>
        <source>Skip All</source>
        <translation>Tout ignorer</translation>
    </message>
</context>
</TS>
