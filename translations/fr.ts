<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="fr_FR" sourcelanguage="en">
<context>
    <name>BackupFile</name>
    <message>
        <source>This is not a Pavisor backup file.</source>
        <translation>Ce n&apos;est pas un fichier de sauvegarde Pavisor.</translation>
    </message>
    <message>
        <source>This backup file has format %1, which this version of the application cannot read.</source>
        <translation>Ce fichier de sauvegarde est au format %1, que cette version de l&apos;application ne sait pas lire.</translation>
    </message>
    <message>
        <source>The backup file is incomplete or has bytes added: its length is wrong.</source>
        <translation>Le fichier de sauvegarde est incomplet ou des octets y ont été ajoutés : sa longueur est incorrecte.</translation>
    </message>
    <message>
        <source>The description at the start of the backup file is damaged.</source>
        <translation>La description au début du fichier de sauvegarde est endommagée.</translation>
    </message>
    <message>
        <source>The backup file has been altered or damaged: its check digest does not match its content.</source>
        <translation>Le fichier de sauvegarde a été modifié ou endommagé : son empreinte de contrôle ne correspond pas à son contenu.</translation>
    </message>
    <message>
        <source>The memory images to back up are incomplete.</source>
        <translation>Les images mémoire à sauvegarder sont incomplètes.</translation>
    </message>
    <message>
        <source>Could not open the file in read mode (%1).</source>
        <translation>Impossible d&apos;ouvrir le fichier en lecture (%1).</translation>
    </message>
    <message>
        <source>not a regular file</source>
        <translation>ce n&apos;est pas un fichier ordinaire</translation>
    </message>
    <message>
        <source>Could not create the folder %1.</source>
        <translation>Impossible de créer le dossier %1.</translation>
    </message>
    <message>
        <source>Pavisor backup files (*.%1)</source>
        <translation>Fichiers de sauvegarde Pavisor (*.%1)</translation>
    </message>
</context>
<context>
    <name>CSV</name>
    <message>
        <source>A double quote opens a field on line %1 and never closes it.</source>
        <translation>Un guillemet ouvre un champ à la ligne %1 et ne se referme jamais.</translation>
    </message>
    <message>
        <source>The passwords of this file take more than the %1 bytes a Pavisor can store.</source>
        <translation>Les mots de passe de ce fichier occupent plus que les %1 octets qu&apos;un Pavisor peut stocker.</translation>
    </message>
    <message>
        <source>File size is too small to contain meaningful data.</source>
        <translation>La taille du fichier est trop petite pour contenir des données utiles.</translation>
    </message>
    <message>
        <source>File size is too large: at most %1 MB can be imported.</source>
        <translation>La taille du fichier est trop grande : au plus %1 Mo peuvent être importés.</translation>
    </message>
    <message>
        <source>The file is not UTF-8 text: invalid bytes on line %1.</source>
        <translation>Le fichier n&apos;est pas du texte UTF-8 : octets invalides à la ligne %1.</translation>
    </message>
    <message>
        <source>The file holds a null character on line %1: it is not a text file.</source>
        <translation>Le fichier contient un caractère nul à la ligne %1 : ce n&apos;est pas un fichier texte.</translation>
    </message>
    <message>
        <source>Line %1: one column, where the column names line has %2.</source>
        <translation>Ligne %1 : une colonne, alors que la ligne des noms de colonnes en a %2.</translation>
    </message>
    <message>
        <source>Line %1: one column, where the other lines have %2.</source>
        <translation>Ligne %1 : une colonne, alors que les autres lignes en ont %2.</translation>
    </message>
    <message>
        <source>Line %1: %2 columns, where the column names line has %3.</source>
        <translation>Ligne %1 : %2 colonnes, alors que la ligne des noms de colonnes en a %3.</translation>
    </message>
    <message>
        <source>Line %1: %2 columns, where the other lines have %3.</source>
        <translation>Ligne %1 : %2 colonnes, alors que les autres lignes en ont %3.</translation>
    </message>
    <message>
        <source>Line %1: text follows the closing double quote of column %2.</source>
        <translation>Ligne %1 : du texte suit le guillemet fermant de la colonne %2.</translation>
    </message>
    <message>
        <source>Line %1 names the columns of a program this import does not know: it is left out, and the other lines are read as name, login, password, web site and note.</source>
        <translation>La ligne %1 nomme les colonnes d&apos;un programme que cette importation ne connaît pas : elle est ignorée, et les autres lignes sont lues comme nom, identifiant, mot de passe, site web et note.</translation>
    </message>
    <message>
        <source>Could not open the file in read mode (%1).</source>
        <translation>Impossible d&apos;ouvrir le fichier en lecture (%1).</translation>
    </message>
    <message>
        <source>Pavisor Key Manager, or any file of five columns: name, login, password, web site and note</source>
        <translation>Pavisor Key Manager, ou tout fichier de cinq colonnes : nom, identifiant, mot de passe, site web et note</translation>
    </message>
    <message>
        <source>Chrome, Edge or another Chromium browser</source>
        <translation>Chrome, Edge ou un autre navigateur Chromium</translation>
    </message>
    <message>
        <source>KeePass (CSV 1.x, also written by KeePass 2)</source>
        <translation>KeePass (CSV 1.x, écrit aussi par KeePass 2)</translation>
    </message>
</context>
<context>
    <name>CliArguments</name>
    <message>
        <source>No command given.</source>
        <translation>Aucune commande indiquée.</translation>
    </message>
    <message>
        <source>Unknown command &quot;%1&quot;.</source>
        <translation>Commande « %1 » inconnue.</translation>
    </message>
    <message>
        <source>The command &quot;%1&quot; has no option &quot;%2&quot;.</source>
        <translation>La commande « %1 » n&apos;a pas d&apos;option « %2 ».</translation>
    </message>
    <message>
        <source>The option &quot;%1&quot; needs a value.</source>
        <translation>L&apos;option « %1 » demande une valeur.</translation>
    </message>
    <message>
        <source>Too many files: %1.</source>
        <translation>Trop de fichiers : %1.</translation>
    </message>
    <message>
        <source>The serial number after --device is empty.</source>
        <translation>Le numéro de série après --device est vide.</translation>
    </message>
    <message>
        <source>Give either a backup file or --device SERIAL, not both or neither.</source>
        <translation>Indiquez soit un fichier de sauvegarde, soit --device NUMÉRO, ni les deux ni aucun.</translation>
    </message>
    <message>
        <source>The device to use is missing: --device SERIAL.</source>
        <translation>Le périphérique à utiliser manque : --device NUMÉRO.</translation>
    </message>
    <message>
        <source>The backup file is missing.</source>
        <translation>Le fichier de sauvegarde manque.</translation>
    </message>
    <message>
        <source>The command &quot;%1&quot; takes no file.</source>
        <translation>La commande « %1 » ne prend pas de fichier.</translation>
    </message>
    <message>
        <source>The tab to export is missing: --tab NAME.</source>
        <translation>L&apos;onglet à exporter manque : --tab NOM.</translation>
    </message>
    <message>
        <source>The output is missing: --output FILE, or --output - for standard output.</source>
        <translation>La sortie manque : --output FICHIER, ou --output - pour la sortie standard.</translation>
    </message>
    <message>
        <source>The file name is empty.</source>
        <translation>Le nom de fichier est vide.</translation>
    </message>
    <message>
        <source>Exit codes:
  0  success
  1  usage error (unknown command or option, missing argument, unknown tab, output refused),
     or the restore was not confirmed
  2  device or file error: unknown serial number, device unplugged or not answering, device
     refused (its memories differ and neither opens), file unreadable, damaged or not a backup
     file, disk full
  3  wrong password: no memory image opens with it
  4  verification failed: what was read back from the device differs from what was written
</source>
        <translation>Codes de sortie :
  0  succès
  1  erreur d&apos;utilisation (commande ou option inconnue, argument manquant, onglet inconnu,
     sortie refusée), ou restauration non confirmée
  2  erreur de périphérique ou de fichier : numéro de série inconnu, périphérique débranché ou
     muet, périphérique refusé (ses mémoires diffèrent et aucune ne s&apos;ouvre), fichier illisible,
     endommagé ou qui n&apos;est pas un fichier de sauvegarde, disque plein
  3  mauvais mot de passe : aucune image mémoire ne s&apos;ouvre avec lui
  4  échec de la vérification : ce qui a été relu dans le périphérique diffère de ce qui a été
     écrit
</translation>
    </message>
    <message>
        <source>  --password-stdin    read the master password from the first line of standard input
                      instead of asking it on the terminal (without echo)
</source>
        <translation>  --password-stdin    lire le mot de passe maître sur la première ligne de l&apos;entrée standard
                      au lieu de le demander dans le terminal (sans écho)
</translation>
    </message>
    <message>
        <source>Usage: pavisor-cli list

Lists the connected Pavisor devices, one per line: USB serial number, name, hardware
version and firmware version, separated by tabs. Prints nothing on standard output when
none is connected.
</source>
        <translation>Utilisation : pavisor-cli list

Liste les Pavisor connectés, un par ligne : numéro de série USB, nom, version matérielle
et version du micrologiciel, séparés par des tabulations. N&apos;écrit rien sur la sortie
standard quand aucun n&apos;est connecté.
</translation>
    </message>
    <message>
        <source>Usage: pavisor-cli backup --device SERIAL FILE

Reads both memories of the device with that USB serial number and writes them, exactly
as the device holds them (encrypted under its master password), to the backup file FILE,
with the device&apos;s name, serial number and versions and the time of the backup. No
password is asked: the file is as strong as the master password. FILE is written
owner-only, and only once both memories have been read: a failure leaves no partial
file and any previous FILE unchanged. When standard error is a terminal, the progress
is shown there (percent, bytes per second, time left).

Options:
  --device SERIAL     the device to read (required)
</source>
        <translation>Utilisation : pavisor-cli backup --device NUMÉRO FICHIER

Lit les deux mémoires du périphérique de ce numéro de série USB et les écrit, exactement
telles que le périphérique les garde (chiffrées avec son mot de passe maître), dans le
fichier de sauvegarde FICHIER, avec le nom, le numéro de série et les versions du
périphérique et l&apos;heure de la sauvegarde. Aucun mot de passe n&apos;est demandé : le fichier
est aussi solide que le mot de passe maître. FICHIER n&apos;est lisible que par son
propriétaire et n&apos;est écrit qu&apos;une fois les deux mémoires lues : un échec ne laisse aucun
fichier partiel et laisse intact un FICHIER existant. Quand la sortie d&apos;erreur est un
terminal, la progression y est affichée (pourcentage, octets par seconde, temps restant).

Options :
  --device NUMÉRO     le périphérique à lire (obligatoire)
</translation>
    </message>
    <message>
        <source>Usage: pavisor-cli check [--password-stdin] FILE
       pavisor-cli check [--password-stdin] --device SERIAL

Asks the master password and says, for the main and the backup memory image of the
backup file FILE or of the device, whether it opens, under which encryption scheme,
with how many tabs and records, and whether the two images agree. Nothing is written.
Exit code 3 when neither image opens.

Options:
  --device SERIAL     read the device with that USB serial number instead of a file
</source>
        <translation>Utilisation : pavisor-cli check [--password-stdin] FICHIER
              pavisor-cli check [--password-stdin] --device NUMÉRO

Demande le mot de passe maître et indique, pour l&apos;image de la mémoire principale et celle
de la mémoire de secours du fichier de sauvegarde FICHIER ou du périphérique, si elle
s&apos;ouvre, sous quel schéma de chiffrement, avec combien d&apos;onglets et de fiches, et si les
deux images concordent. Rien n&apos;est écrit. Code de sortie 3 quand aucune ne s&apos;ouvre.

Options :
  --device NUMÉRO     lire le périphérique de ce numéro de série USB au lieu d&apos;un fichier
</translation>
    </message>
    <message>
        <source>Usage: pavisor-cli export [--password-stdin] FILE --tab NAME --output OUT.csv
       pavisor-cli export [--password-stdin] --device SERIAL --tab NAME --output OUT.csv

Asks the master password, opens the main memory image of the backup file or of the
device (the backup image when the main one does not open) and writes the records of
the tab NAME in the application&apos;s CSV format: every field quoted, separated by commas,
one record per line, no column names. OUT.csv is written owner-only and replaces any
previous file only once complete. &quot;--output -&quot; writes to standard output, even to a
terminal; any other output that is a terminal is refused, so that passwords are never
shown by mistake.

Options:
  --device SERIAL     read the device with that USB serial number instead of a file
  --tab NAME          the tab to export, by its exact name (required)
  --output OUT.csv    the file to write, or - for standard output (required)
</source>
        <translation>Utilisation : pavisor-cli export [--password-stdin] FICHIER --tab NOM --output SORTIE.csv
              pavisor-cli export [--password-stdin] --device NUMÉRO --tab NOM --output SORTIE.csv

Demande le mot de passe maître, ouvre l&apos;image de la mémoire principale du fichier de
sauvegarde ou du périphérique (l&apos;image de secours si la principale ne s&apos;ouvre pas) et
écrit les fiches de l&apos;onglet NOM au format CSV de l&apos;application : chaque champ entre
guillemets, séparé par des virgules, une fiche par ligne, sans noms de colonnes.
SORTIE.csv n&apos;est lisible que par son propriétaire et ne remplace un fichier existant
qu&apos;une fois complet. « --output - » écrit sur la sortie standard, même vers un terminal ;
toute autre sortie qui est un terminal est refusée, pour que les mots de passe ne
s&apos;affichent jamais par erreur.

Options :
  --device NUMÉRO     lire le périphérique de ce numéro de série USB au lieu d&apos;un fichier
  --tab NOM           l&apos;onglet à exporter, par son nom exact (obligatoire)
  --output SORTIE.csv le fichier à écrire, ou - pour la sortie standard (obligatoire)
</translation>
    </message>
    <message>
        <source>Usage: pavisor-cli restore [--password-stdin] [--yes] --device SERIAL FILE

Asks the master password, takes the image of the backup file FILE that opens with it
(the main image first, then the backup image), asks for confirmation and writes that
image as it is in the file (it already opens with the password: it is not encrypted
again) to both memories of the device, main first, then backup.

Both device memories are read first. When they differ, neither opens with the password
and neither is empty, nothing is written: either could be the last good copy of the
device&apos;s records (open the device with its own master password, or erase it, first).
A backup memory that does not open while the main one does is first repaired from the
main memory and read back. After the write both memories are read back and compared
with the image. At every instant one memory holds a complete image that opens with a
password you know.

Options:
  --device SERIAL     the device to write (required)
  --yes               write without asking for confirmation
</source>
        <translation>Utilisation : pavisor-cli restore [--password-stdin] [--yes] --device NUMÉRO FICHIER

Demande le mot de passe maître, prend l&apos;image du fichier de sauvegarde FICHIER qui s&apos;ouvre
avec lui (l&apos;image principale d&apos;abord, puis l&apos;image de secours), demande confirmation et
écrit cette image telle qu&apos;elle est dans le fichier (elle s&apos;ouvre déjà avec le mot de
passe : elle n&apos;est pas chiffrée à nouveau) dans les deux mémoires du périphérique, la
principale d&apos;abord, puis celle de secours.

Les deux mémoires du périphérique sont d&apos;abord lues. Quand elles diffèrent, qu&apos;aucune ne
s&apos;ouvre avec le mot de passe et qu&apos;aucune n&apos;est vide, rien n&apos;est écrit : chacune pourrait
être la dernière copie intacte des fiches du périphérique (ouvrez d&apos;abord le périphérique
avec son propre mot de passe maître, ou effacez-le). Une mémoire de secours qui ne s&apos;ouvre
pas alors que la principale s&apos;ouvre est d&apos;abord réparée à partir de la principale, puis
relue. Après l&apos;écriture, les deux mémoires sont relues et comparées à l&apos;image. À tout
instant, une mémoire contient une image complète qui s&apos;ouvre avec un mot de passe que
vous connaissez.

Options :
  --device NUMÉRO     le périphérique à écrire (obligatoire)
  --yes               écrire sans demander confirmation
</translation>
    </message>
    <message>
        <source>                      (the confirmation, without --yes, is then the next line)
</source>
        <translation>                      (la confirmation, sans --yes, est alors la ligne suivante)
</translation>
    </message>
    <message>
        <source>Usage: pavisor-cli COMMAND [OPTIONS]

The command-line companion of Pavisor Key Manager.

Commands:
  list                            the connected devices: serial number, name, versions
  backup --device SERIAL FILE     reads both device memories into a backup file
  check FILE | --device SERIAL    which memory images open with the master password
  export FILE | --device SERIAL --tab NAME --output OUT.csv
                                  writes one tab&apos;s records in CSV
  restore --device SERIAL FILE    writes a backup file&apos;s image to a device

&quot;pavisor-cli COMMAND --help&quot; tells more about a command.
</source>
        <translation>Utilisation : pavisor-cli COMMANDE [OPTIONS]

L&apos;outil en ligne de commande de Pavisor Key Manager.

Commandes :
  list                             les périphériques connectés : numéro de série, nom, versions
  backup --device NUMÉRO FICHIER   lit les deux mémoires d&apos;un périphérique dans un fichier de
                                   sauvegarde
  check FICHIER | --device NUMÉRO  quelles images mémoire s&apos;ouvrent avec le mot de passe maître
  export FICHIER | --device NUMÉRO --tab NOM --output SORTIE.csv
                                   écrit les fiches d&apos;un onglet en CSV
  restore --device NUMÉRO FICHIER  écrit l&apos;image d&apos;un fichier de sauvegarde dans un périphérique

« pavisor-cli COMMANDE --help » en dit plus sur une commande.
</translation>
    </message>
</context>
<context>
    <name>CliCommands</name>
    <message>
        <source>The backup file %1 cannot be used: %2</source>
        <translation>Le fichier de sauvegarde %1 est inutilisable : %2</translation>
    </message>
    <message>
        <source>&apos;%1&apos; (%2)</source>
        <translation>« %1 » (%2)</translation>
    </message>
    <message>
        <source>the backup of %1 in %2</source>
        <translation>la sauvegarde de %1 dans %2</translation>
    </message>
    <message>
        <source>The master password opens no memory image of %1.</source>
        <translation>Le mot de passe maître n&apos;ouvre aucune image mémoire de %1.</translation>
    </message>
    <message>
        <source>Failed to decrypt data, aborting.</source>
        <translation>Échec du déchiffrement des données, abandon.</translation>
    </message>
    <message>
        <source>Run &quot;pavisor-cli %1--help&quot; for help.</source>
        <translation>Lancez « pavisor-cli %1--help » pour obtenir de l&apos;aide.</translation>
    </message>
    <message>
        <source>No Pavisor is connected.</source>
        <translation>Aucun Pavisor n&apos;est connecté.</translation>
    </message>
    <message>
        <source>The device %1 does not answer: it may be in use by another program.</source>
        <translation>Le périphérique %1 ne répond pas : il est peut-être utilisé par un autre programme.</translation>
    </message>
    <message>
        <source>The device %1 did not give its versions.</source>
        <translation>Le périphérique %1 n&apos;a pas donné ses versions.</translation>
    </message>
    <message>
        <source>The backup file %1 could not be written: %2</source>
        <translation>Le fichier de sauvegarde %1 n&apos;a pas pu être écrit : %2</translation>
    </message>
    <message>
        <source>Both memories of the device %1 backed up to %2.</source>
        <translation>Les deux mémoires du périphérique %1 sont sauvegardées dans %2.</translation>
    </message>
    <message>
        <source>the device %1</source>
        <translation>le périphérique %1</translation>
    </message>
    <message>
        <source>Device: %1</source>
        <translation>Périphérique : %1</translation>
    </message>
    <message>
        <source>Backup file: %1</source>
        <translation>Fichier de sauvegarde : %1</translation>
    </message>
    <message>
        <source>Device: %1, hardware version %2, firmware version %3</source>
        <translation>Périphérique : %1, version matérielle %2, version du micrologiciel %3</translation>
    </message>
    <message>
        <source>Backed up: %1</source>
        <translation>Sauvegardé le : %1</translation>
    </message>
    <message>
        <source>Main memory: %1</source>
        <translation>Mémoire principale : %1</translation>
    </message>
    <message>
        <source>Backup memory: %1</source>
        <translation>Mémoire de secours : %1</translation>
    </message>
    <message>
        <source>identical</source>
        <translation>identiques</translation>
    </message>
    <message>
        <source>different bytes, the same records</source>
        <translation>octets différents, mêmes fiches</translation>
    </message>
    <message>
        <source>different records (as after an interrupted save: the backup memory holds the older ones)</source>
        <translation>fiches différentes (comme après un enregistrement interrompu : la mémoire de secours contient les plus anciennes)</translation>
    </message>
    <message>
        <source>different</source>
        <translation>différentes</translation>
    </message>
    <message>
        <source>Main and backup memories: %1</source>
        <translation>Mémoires principale et de secours : %1</translation>
    </message>
    <message>
        <source>%1 is a terminal: the passwords would be shown there. Give &quot;--output -&quot; to print them on standard output anyway.</source>
        <translation>%1 est un terminal : les mots de passe s&apos;y afficheraient. Indiquez « --output - » pour les écrire tout de même sur la sortie standard.</translation>
    </message>
    <message>
        <source>The main memory image does not open: the backup memory image is used.</source>
        <translation>L&apos;image de la mémoire principale ne s&apos;ouvre pas : l&apos;image de la mémoire de secours est utilisée.</translation>
    </message>
    <message>
        <source>No tab is named &quot;%1&quot;. The tabs are: %2.</source>
        <translation>Aucun onglet ne s&apos;appelle « %1 ». Les onglets sont : %2.</translation>
    </message>
    <message>
        <source>Several tabs are named &quot;%1&quot;: the first one is exported.</source>
        <translation>Plusieurs onglets s&apos;appellent « %1 » : le premier est exporté.</translation>
    </message>
    <message>
        <source>The records could not be written to %1: %2</source>
        <translation>Les fiches n&apos;ont pas pu être écrites dans %1 : %2</translation>
    </message>
    <message>
        <source>%2 exported from the tab &quot;%1&quot;.</source>
        <translation>%2 exportée(s) depuis l&apos;onglet « %1 ».</translation>
    </message>
    <message>
        <source>The main image of the file does not open: its backup image is restored.</source>
        <translation>L&apos;image principale du fichier ne s&apos;ouvre pas : c&apos;est son image de secours qui est restaurée.</translation>
    </message>
    <message>
        <source>Restore %1, made %2 (%3), to the device %4? Everything the device holds now is replaced. [y/N]</source>
        <translation>Restaurer %1, faite le %2 (%3), dans le périphérique %4 ? Tout ce que contient le périphérique sera remplacé. [o/N]</translation>
    </message>
    <message>
        <source>Nothing was written.</source>
        <translation>Rien n&apos;a été écrit.</translation>
    </message>
    <message>
        <source>Restored to the device %1 and verified: both memories hold the image of the backup file.</source>
        <translation>Restauré dans le périphérique %1 et vérifié : les deux mémoires contiennent l&apos;image du fichier de sauvegarde.</translation>
    </message>
</context>
<context>
    <name>CliDeviceRoad</name>
    <message>
        <source>main</source>
        <translation>principale</translation>
    </message>
    <message>
        <source>backup</source>
        <translation>de secours</translation>
    </message>
    <message>
        <source>Was it unplugged? Plug it in again and retry.</source>
        <translation>A-t-il été débranché ? Rebranchez-le et réessayez.</translation>
    </message>
    <message>
        <source>The device %1 could not be opened: it may be in use by another program.</source>
        <translation>Le périphérique %1 n&apos;a pas pu être ouvert : il est peut-être utilisé par un autre programme.</translation>
    </message>
    <message>
        <source>No connected Pavisor has the serial number %1; none is connected.</source>
        <translation>Aucun Pavisor connecté n&apos;a le numéro de série %1 ; aucun n&apos;est connecté.</translation>
    </message>
    <message>
        <source>No connected Pavisor has the serial number %1; connected: %2.</source>
        <translation>Aucun Pavisor connecté n&apos;a le numéro de série %1 ; connectés : %2.</translation>
    </message>
    <message>
        <source>Reading</source>
        <translation>Lecture</translation>
    </message>
    <message>
        <source>The device &apos;%1&apos; did not answer. %2</source>
        <translation>Le périphérique « %1 » n&apos;a pas répondu. %2</translation>
    </message>
    <message>
        <source>Reading the %1 memory of the device &apos;%2&apos; failed. %3</source>
        <translation>La lecture de la mémoire %1 du périphérique « %2 » a échoué. %3</translation>
    </message>
    <message>
        <source>The device &apos;%1&apos; did not answer after the read. %2</source>
        <translation>Le périphérique « %1 » n&apos;a pas répondu après la lecture. %2</translation>
    </message>
    <message>
        <source>Failed to decrypt the device memories, nothing was written.</source>
        <translation>Échec du déchiffrement des mémoires du périphérique, rien n&apos;a été écrit.</translation>
    </message>
    <message>
        <source>The main and backup memories of the device &apos;%1&apos; differ and neither opens with this master password: either could be the last good copy of its records, so nothing was written.
Open the device with its own master password to repair it, or erase it first.</source>
        <translation>Les mémoires principale et de secours du périphérique « %1 » diffèrent et aucune ne s&apos;ouvre avec ce mot de passe maître : chacune pourrait être la dernière copie intacte de ses fiches, rien n&apos;a donc été écrit.
Ouvrez le périphérique avec son propre mot de passe maître pour le réparer, ou effacez-le d&apos;abord.</translation>
    </message>
    <message>
        <source>The backup memory does not open while the main memory does: it is repaired from the main memory first.</source>
        <translation>La mémoire de secours ne s&apos;ouvre pas alors que la mémoire principale s&apos;ouvre : elle est d&apos;abord réparée à partir de la mémoire principale.</translation>
    </message>
    <message>
        <source>Writing</source>
        <translation>Écriture</translation>
    </message>
    <message>
        <source>The device &apos;%1&apos; did not answer, nothing was written. %2</source>
        <translation>Le périphérique « %1 » n&apos;a pas répondu, rien n&apos;a été écrit. %2</translation>
    </message>
    <message>
        <source>Writing the backup memory of the device &apos;%1&apos; failed: its main memory holds the restored image. %2</source>
        <translation>L&apos;écriture de la mémoire de secours du périphérique « %1 » a échoué : sa mémoire principale contient l&apos;image restaurée. %2</translation>
    </message>
    <message>
        <source>The device &apos;%1&apos; did not answer after the write. %2</source>
        <translation>Le périphérique « %1 » n&apos;a pas répondu après l&apos;écriture. %2</translation>
    </message>
    <message>
        <source>Verification failed: the %1 memory of the device &apos;%2&apos; does not hold what was written. Please retry; consider changing the device if this keeps happening.</source>
        <translation>Échec de la vérification : la mémoire %1 du périphérique « %2 » ne contient pas ce qui a été écrit. Veuillez réessayer ; envisagez de changer de périphérique si cela se reproduit.</translation>
    </message>
    <message>
        <source> and </source>
        <translation> et </translation>
    </message>
    <message>
        <source>Writing the main memory of the device &apos;%1&apos; failed; its backup memory was not touched. %2</source>
        <translation>L&apos;écriture de la mémoire principale du périphérique « %1 » a échoué ; sa mémoire de secours n&apos;a pas été touchée. %2</translation>
    </message>
    <message>
        <source>Repairing the backup memory of the device &apos;%1&apos; failed; its main memory, which opens, was not touched. %2</source>
        <translation>La réparation de la mémoire de sauvegarde du périphérique &apos;%1&apos; a échoué ; sa mémoire principale, qui s&apos;ouvre, n&apos;a pas été modifiée. %2</translation>
    </message>
</context>
<context>
    <name>CliImages</name>
    <message>
        <source>1 record</source>
        <translation>1 fiche</translation>
    </message>
    <message>
        <source>%1 records</source>
        <translation>%1 fiches</translation>
    </message>
    <message>
        <source>1 tab</source>
        <translation>1 onglet</translation>
    </message>
    <message>
        <source>%1 tabs</source>
        <translation>%1 onglets</translation>
    </message>
    <message>
        <source>empty (erased)</source>
        <translation>vide (effacée)</translation>
    </message>
    <message>
        <source>could not be decrypted</source>
        <translation>n&apos;a pas pu être déchiffrée</translation>
    </message>
    <message>
        <source>does not open with this password</source>
        <translation>ne s&apos;ouvre pas avec ce mot de passe</translation>
    </message>
    <message>
        <source>opens (scheme %1): %2</source>
        <translation>s&apos;ouvre (schéma %1) : %2</translation>
    </message>
    <message>
        <source>%1, %2</source>
        <translation>%1, %2</translation>
    </message>
</context>
<context>
    <name>CliProgress</name>
    <message>
        <source>%1: %2%, %3 bytes/s, %4 left</source>
        <translation>%1 : %2 %, %3 octets/s, %4 restant</translation>
    </message>
</context>
<context>
    <name>CliTerminal</name>
    <message>
        <source>Standard input is not a terminal to ask the master password on: give it on standard input with --password-stdin.</source>
        <translation>L&apos;entrée standard n&apos;est pas un terminal où demander le mot de passe maître : donnez-le sur l&apos;entrée standard avec --password-stdin.</translation>
    </message>
    <message>
        <source>Master password: </source>
        <translation>Mot de passe maître : </translation>
    </message>
    <message>
        <source>No master password was given: standard input ended.</source>
        <translation>Aucun mot de passe maître n&apos;a été donné : l&apos;entrée standard s&apos;est terminée.</translation>
    </message>
    <message>
        <source>The master password could not be read: longer than %1 bytes, or a read error.</source>
        <translation>Le mot de passe maître n&apos;a pas pu être lu : plus long que %1 octets, ou erreur de lecture.</translation>
    </message>
    <message>
        <source>y</source>
        <comment>short answer to a yes/no question</comment>
        <translation>o</translation>
    </message>
    <message>
        <source>yes</source>
        <comment>answer to a yes/no question</comment>
        <translation>oui</translation>
    </message>
</context>
<context>
    <name>Device</name>
    <message>
        <source>No name defined</source>
        <translation>Aucun nom défini</translation>
    </message>
    <message>
        <source>No serial number</source>
        <translation>Aucun numéro de série</translation>
    </message>
</context>
<context>
    <name>DeviceMemoryHealth</name>
    <message>
        <source>opens</source>
        <translation>s&apos;ouvre</translation>
    </message>
    <message>
        <source>older content</source>
        <translation>contenu plus ancien</translation>
    </message>
    <message>
        <source>empty</source>
        <translation>vide</translation>
    </message>
    <message>
        <source>damaged</source>
        <translation>endommagée</translation>
    </message>
    <message>
        <source>not read yet</source>
        <translation>pas encore lue</translation>
    </message>
</context>
<context>
    <name>FirstRunPrompt</name>
    <message>
        <source>Welcome</source>
        <translation>Bienvenue</translation>
    </message>
    <message>
        <source>This is the first time you run the Pavisor application. Do you want to read the &quot;getting started&quot; documentation?

You can always access this documentation and much more from the application Help menu.</source>
        <translation>C&apos;est la première fois que vous lancez l&apos;application Pavisor. Voulez-vous lire la documentation de « prise en main » ?

Vous pouvez toujours accéder à cette documentation et à bien plus depuis le menu Aide de l&apos;application.</translation>
    </message>
</context>
<context>
    <name>FormContentEditor</name>
    <message>
        <source>Pavisor Key Manager</source>
        <translation>Pavisor Key Manager</translation>
    </message>
    <message>
        <source>Password</source>
        <translation>Mot de passe</translation>
    </message>
    <message>
        <source>Create a new password record</source>
        <translation>Créer une nouvelle fiche de mot de passe</translation>
    </message>
    <message>
        <source>New</source>
        <translation>Nouveau</translation>
    </message>
    <message>
        <source>Edit the currently selected password record</source>
        <translation>Modifier la fiche de mot de passe sélectionnée</translation>
    </message>
    <message>
        <source>Edit</source>
        <translation>Modifier</translation>
    </message>
    <message>
        <source>Remove the currently selected password record</source>
        <translation>Supprimer la fiche de mot de passe sélectionnée</translation>
    </message>
    <message>
        <source>Remove</source>
        <translation>Supprimer</translation>
    </message>
    <message>
        <source>Tab</source>
        <translation>Onglet</translation>
    </message>
    <message>
        <source>Create a new tab</source>
        <translation>Créer un nouvel onglet</translation>
    </message>
    <message>
        <source>Rename the currently displayed tab</source>
        <translation>Renommer l&apos;onglet affiché</translation>
    </message>
    <message>
        <source>Rename</source>
        <translation>Renommer</translation>
    </message>
    <message>
        <source>Copy current tab content to a new tab</source>
        <translation>Copier le contenu de l&apos;onglet courant dans un nouvel onglet</translation>
    </message>
    <message>
        <source>Duplicate</source>
        <translation>Dupliquer</translation>
    </message>
    <message>
        <source>Remove the currently displayed tab and all the passwords it contains</source>
        <translation>Supprimer l&apos;onglet affiché et tous les mots de passe qu&apos;il contient</translation>
    </message>
    <message>
        <source>Device</source>
        <translation>Périphérique</translation>
    </message>
    <message>
        <source>Save changes to Pavisor device</source>
        <translation>Enregistrer les modifications dans le périphérique Pavisor</translation>
    </message>
    <message>
        <source>Save</source>
        <translation>Enregistrer</translation>
    </message>
    <message>
        <source>Clipboard</source>
        <translation>Presse-papiers</translation>
    </message>
    <message>
        <source>Clear clipboard content to clear any confidential data</source>
        <translation>Vider le presse-papiers pour effacer toute donnée confidentielle</translation>
    </message>
    <message>
        <source>Clear</source>
        <translation>Effacer</translation>
    </message>
    <message>
        <source>Search:</source>
        <translation>Rechercher :</translation>
    </message>
    <message>
        <source>Go to previous result</source>
        <translation>Aller au résultat précédent</translation>
    </message>
    <message>
        <source>Previous</source>
        <translation>Précédent</translation>
    </message>
    <message>
        <source>Go to next result</source>
        <translation>Aller au résultat suivant</translation>
    </message>
    <message>
        <source>Next</source>
        <translation>Suivant</translation>
    </message>
    <message>
        <source>Search in all tabs</source>
        <translation>Rechercher dans tous les onglets</translation>
    </message>
    <message>
        <source>Open Pavisor...</source>
        <translation>Ouvrir le Pavisor...</translation>
    </message>
    <message>
        <source>Lock application</source>
        <translation>Verrouiller l&apos;application</translation>
    </message>
    <message>
        <source>Import CSV file...</source>
        <translation>Importer un fichier CSV...</translation>
    </message>
    <message>
        <source>Export current tab as CSV...</source>
        <translation>Exporter l&apos;onglet courant en CSV...</translation>
    </message>
    <message>
        <source>Settings</source>
        <translation>Paramètres</translation>
    </message>
    <message>
        <source>Quit</source>
        <translation>Quitter</translation>
    </message>
    <message>
        <source>Change device name</source>
        <translation>Changer le nom du périphérique</translation>
    </message>
    <message>
        <source>Display serial number</source>
        <translation>Afficher le numéro de série</translation>
    </message>
    <message>
        <source>Copy device...</source>
        <translation>Copier le périphérique...</translation>
    </message>
    <message>
        <source>Erase device...</source>
        <translation>Effacer le périphérique...</translation>
    </message>
    <message>
        <source>Pavisor Key Manager Help</source>
        <translation>Aide de Pavisor Key Manager</translation>
    </message>
    <message>
        <source>Pavisor Key Manager website</source>
        <translation>Site web de Pavisor Key Manager</translation>
    </message>
    <message>
        <source>Check for update</source>
        <translation>Rechercher une mise à jour</translation>
    </message>
    <message>
        <source>About</source>
        <translation>À propos</translation>
    </message>
    <message>
        <source>Welcome!</source>
        <translation>Bienvenue !</translation>
    </message>
    <message>
        <source>Reading device memories...</source>
        <translation>Lecture des mémoires du périphérique...</translation>
    </message>
    <message>
        <source>Writing device memories...</source>
        <translation>Écriture des mémoires du périphérique...</translation>
    </message>
    <message>
        <source>Insert master password</source>
        <translation>Saisir le mot de passe maître</translation>
    </message>
    <message>
        <source>Detected devices</source>
        <translation>Périphériques détectés</translation>
    </message>
    <message>
        <source>Device serial number</source>
        <translation>Numéro de série du périphérique</translation>
    </message>
    <message>
        <source>Set device name</source>
        <translation>Définir le nom du périphérique</translation>
    </message>
    <message>
        <source>Device erasing wizard</source>
        <translation>Assistant d&apos;effacement de périphérique</translation>
    </message>
    <message>
        <source>Erasing confirmation</source>
        <translation>Confirmation de l&apos;effacement</translation>
    </message>
    <message>
        <source>Successful erasure</source>
        <translation>Effacement réussi</translation>
    </message>
    <message>
        <source>Device copy wizard</source>
        <translation>Assistant de copie de périphérique</translation>
    </message>
    <message>
        <source>Read source device content</source>
        <translation>Lecture du contenu du périphérique source</translation>
    </message>
    <message>
        <source>Write content to target device</source>
        <translation>Écriture du contenu sur le périphérique cible</translation>
    </message>
    <message>
        <source>Successful device duplication</source>
        <translation>Duplication du périphérique réussie</translation>
    </message>
    <message>
        <source>Application is locked</source>
        <translation>L&apos;application est verrouillée</translation>
    </message>
    <message>
        <source>Import a CSV file</source>
        <translation>Importer un fichier CSV</translation>
    </message>
    <message>
        <source>Set/change the master password then save</source>
        <translation>Définir ou changer le mot de passe maître puis enregistrer</translation>
    </message>
    <message>
        <source>Could not make the device LED blink, aborting.</source>
        <translation>Impossible de faire clignoter la LED de l&apos;appareil, abandon.</translation>
    </message>
    <message>
        <source>Could not read the device main memory, aborting.</source>
        <translation>Impossible de lire la mémoire principale de l&apos;appareil, abandon.</translation>
    </message>
    <message>
        <source>Could not read the device backup memory, aborting.</source>
        <translation>Impossible de lire la mémoire de sauvegarde de l&apos;appareil, abandon.</translation>
    </message>
    <message>
        <source>Could not stop device led from blinking, aborting.</source>
        <translation>Impossible d&apos;arrêter le clignotement de la LED de l&apos;appareil, abandon.</translation>
    </message>
    <message>
        <source>Error</source>
        <translation>Erreur</translation>
    </message>
    <message>
        <source>Could not open the connected device.</source>
        <translation>Impossible d&apos;ouvrir l&apos;appareil connecté.</translation>
    </message>
    <message>
        <source>Warning</source>
        <translation>Avertissement</translation>
    </message>
    <message>
        <source>Device main and backup memories do not have the same content. This is likely due to a power outage during previous device writing.
Do you want to display the main memory content?

Select &apos;Yes&apos; to try with main memory or &apos;No&apos; to try with backup memory.
If the memory you selected does not contain the expected data, re-read the device then try the other memory.</source>
        <translation>Les mémoires principale et de sauvegarde de l&apos;appareil n&apos;ont pas le même contenu. Cela est probablement dû à une coupure de courant lors d&apos;une écriture précédente.
Voulez-vous afficher le contenu de la mémoire principale ?

Choisissez « Oui » pour essayer la mémoire principale ou « Non » pour essayer la mémoire de sauvegarde.
Si la mémoire choisie ne contient pas les données attendues, relisez l&apos;appareil puis essayez l&apos;autre mémoire.</translation>
    </message>
    <message>
        <source>Failed to decrypt data, aborting.</source>
        <translation>Échec du déchiffrement des données, abandon.</translation>
    </message>
    <message>
        <source>Failed to decrypt data. Make sure you provided the correct password.</source>
        <translation>Échec du déchiffrement des données. Vérifiez que vous avez saisi le bon mot de passe.</translation>
    </message>
    <message>
        <source>Searching for an update</source>
        <translation>Recherche d&apos;une mise à jour</translation>
    </message>
    <message>
        <source>Searching for an update on the server...
This operation will take less than 5 seconds.</source>
        <translation>Recherche d&apos;une mise à jour sur le serveur...
Cette opération prendra moins de 5 secondes.</translation>
    </message>
    <message>
        <source>Update check</source>
        <translation>Recherche de mise à jour</translation>
    </message>
    <message>
        <source>Failed to retrieve the update information from the server.
Please check your network configuration and retry.</source>
        <translation>Impossible d&apos;obtenir les informations de mise à jour depuis le serveur.
Veuillez vérifier votre configuration réseau et réessayer.</translation>
    </message>
    <message>
        <source>Update available</source>
        <translation>Mise à jour disponible</translation>
    </message>
    <message>
        <source>A program update is available (the new version is %1, you are currently using the version %2).
Do you want to download it from the website?</source>
        <translation>Une mise à jour du programme est disponible (la nouvelle version est la %1, vous utilisez actuellement la version %2).
Voulez-vous la télécharger depuis le site web ?</translation>
    </message>
    <message>
        <source>No update found</source>
        <translation>Aucune mise à jour trouvée</translation>
    </message>
    <message>
        <source>No update is available, you are using the latest version.</source>
        <translation>Aucune mise à jour n&apos;est disponible, vous utilisez la dernière version.</translation>
    </message>
    <message>
        <source>You are currently in a subview of the application.
Use the buttons at the bottom of the view to exit.</source>
        <translation>Vous êtes actuellement dans une sous-page de l&apos;application.
Utilisez les boutons en bas de la page pour en sortir.</translation>
    </message>
    <message>
        <source>You did not write your modifications to the device.
Do you really want to quit?</source>
        <translation>Vous n&apos;avez pas enregistré vos modifications dans le périphérique.
Voulez-vous vraiment quitter ?</translation>
    </message>
    <message>
        <source>Copyright © 2018-%1 the Pavisor Key Manager developers.</source>
        <translation>Copyright © 2018-%1 les développeurs de Pavisor Key Manager.</translation>
    </message>
    <message>
        <source>Build date: %2 %3&lt;br /&gt;Application version: %4&lt;br /&gt;Qt version: %5&lt;br /&gt;&lt;br /&gt;</source>
        <translation>Date de compilation : %2 %3&lt;br /&gt;Version de l&apos;application : %4&lt;br /&gt;Version de Qt : %5&lt;br /&gt;&lt;br /&gt;</translation>
    </message>
    <message>
        <source>This application uses the Qt framework under the terms of the &lt;a href=&quot;https://www.gnu.org/licenses/lgpl-3.0.html&quot;&gt;LGPLv3 license&lt;/a&gt;.</source>
        <translation>Cette application utilise le framework Qt selon les termes de la &lt;a href=&quot;https://www.gnu.org/licenses/lgpl-3.0.html&quot;&gt;licence LGPLv3&lt;/a&gt;.</translation>
    </message>
    <message>
        <source>Export a CSV file</source>
        <translation>Exporter un fichier CSV</translation>
    </message>
    <message>
        <source>Comma Separated Value (*.csv *.CSV)</source>
        <translation>Valeurs séparées par des virgules (*.csv *.CSV)</translation>
    </message>
    <message>
        <source>Could not export the CSV file &apos;%1&apos; (%2).</source>
        <translation>Impossible d&apos;exporter le fichier CSV &apos;%1&apos; (%2).</translation>
    </message>
    <message>
        <source>Success</source>
        <comment>CSV file exportation</comment>
        <translation>Succès</translation>
    </message>
    <message>
        <source>The current tab passwords were successfully exported to a CSV file.</source>
        <translation>Les mots de passe de l&apos;onglet courant ont été exportés avec succès dans un fichier CSV.</translation>
    </message>
    <message>
        <source>Success</source>
        <comment>CSV file importation</comment>
        <translation>Succès</translation>
    </message>
    <message>
        <source>CSV data were successfully imported.</source>
        <translation>Les données CSV ont été importées avec succès.</translation>
    </message>
    <message>
        <source>Pavisor Key Manager [unsaved data]</source>
        <translation>Pavisor Key Manager [données non enregistrées]</translation>
    </message>
    <message>
        <source>Available memory: %1%</source>
        <translation>Mémoire disponible : %1 %</translation>
    </message>
    <message>
        <source>New password</source>
        <translation>Nouveau mot de passe</translation>
    </message>
    <message>
        <source>Edit password</source>
        <translation>Modifier le mot de passe</translation>
    </message>
    <message>
        <source>Remove password</source>
        <translation>Supprimer le mot de passe</translation>
    </message>
    <message>
        <source>Do you really want to remove the password called &apos;%1&apos;?</source>
        <translation>Voulez-vous vraiment supprimer le mot de passe nommé « %1 » ?</translation>
    </message>
    <message>
        <source>Insert tab name</source>
        <translation>Saisir le nom de l&apos;onglet</translation>
    </message>
    <message>
        <source>Enter the tab name:</source>
        <translation>Saisissez le nom de l&apos;onglet :</translation>
    </message>
    <message>
        <source>New tab</source>
        <translation>Nouvel onglet</translation>
    </message>
    <message>
        <source>Insert new name</source>
        <translation>Saisir le nouveau nom</translation>
    </message>
    <message>
        <source>New tab name:</source>
        <translation>Nouveau nom de l&apos;onglet :</translation>
    </message>
    <message>
        <source> - Copy</source>
        <translation> - Copie</translation>
    </message>
    <message>
        <source>Remove tab</source>
        <translation>Supprimer l&apos;onglet</translation>
    </message>
    <message>
        <source>Do you really want to remove the tab called &apos;%1&apos; and all its content?</source>
        <translation>Voulez-vous vraiment supprimer l&apos;onglet nommé « %1 » et tout son contenu ?</translation>
    </message>
    <message>
        <source>Text search</source>
        <translation>Recherche de texte</translation>
    </message>
    <message>
        <source>No matching text was found.</source>
        <translation>Aucun texte correspondant n&apos;a été trouvé.</translation>
    </message>
    <message>
        <source>Opening a device</source>
        <translation>Ouverture d&apos;un appareil</translation>
    </message>
    <message>
        <source>You have made some modifications to the currently displayed data without saving them.
Do you confirm overwriting such unsaved data with the content of the newly opened device?</source>
        <translation>Vous avez modifié les données affichées sans les enregistrer.
Confirmez-vous le remplacement de ces données non enregistrées par le contenu de l&apos;appareil ouvert ?</translation>
    </message>
    <message>
        <source>Data could not be successfully written. Please retry.
Consider changing the device if this error is still occurring.</source>
        <translation>Les données n&apos;ont pas pu être écrites correctement. Veuillez réessayer.
Envisagez de changer d&apos;appareil si cette erreur persiste.</translation>
    </message>
    <message>
        <source>Confirm saving device</source>
        <translation>Confirmer l&apos;enregistrement de l&apos;appareil</translation>
    </message>
    <message>
        <source>Save changes to the device &apos;%1&apos;?
All device current data will be overwritten.</source>
        <translation>Enregistrer les modifications sur l&apos;appareil « %1 » ?
Toutes les données actuelles de l&apos;appareil seront écrasées.</translation>
    </message>
    <message>
        <source>There is not enough room in device memory. Please remove some passwords.</source>
        <translation>La mémoire de l&apos;appareil n&apos;a pas assez de place. Veuillez supprimer quelques mots de passe.</translation>
    </message>
    <message>
        <source>Failed to encrypt data, aborting.</source>
        <translation>Échec du chiffrement des données, abandon.</translation>
    </message>
    <message>
        <source>Could not stop the device LED from blinking, aborting.</source>
        <translation>Impossible d&apos;arrêter le clignotement de la LED de l&apos;appareil, abandon.</translation>
    </message>
    <message>
        <source>Could not configure the access to the main memory, aborting.</source>
        <translation>Impossible de configurer l&apos;accès à la mémoire principale, abandon.</translation>
    </message>
    <message>
        <source>Could not configure the access to the backup memory, aborting.</source>
        <translation>Impossible de configurer l&apos;accès à la mémoire de sauvegarde, abandon.</translation>
    </message>
    <message>
        <source>Could not write data to the main memory, aborting.</source>
        <translation>Impossible d&apos;écrire les données dans la mémoire principale, abandon.</translation>
    </message>
    <message>
        <source>Could not write data to the backup memory, aborting.</source>
        <translation>Impossible d&apos;écrire les données dans la mémoire de sauvegarde, abandon.</translation>
    </message>
    <message>
        <source>Write error</source>
        <translation>Erreur d&apos;écriture</translation>
    </message>
    <message>
        <source>Write success</source>
        <translation>Écriture réussie</translation>
    </message>
    <message>
        <source>All data were successfully written.
You can safely remove the device if you want.</source>
        <translation>Toutes les données ont été écrites avec succès.
Vous pouvez retirer l&apos;appareil en toute sécurité si vous le souhaitez.</translation>
    </message>
    <message>
        <source>Could not write the device name.</source>
        <translation>Impossible d&apos;écrire le nom de l&apos;appareil.</translation>
    </message>
    <message>
        <source>identical</source>
        <comment>master password for device copy wizard</comment>
        <translation>identiques</translation>
    </message>
    <message>
        <source>different</source>
        <comment>master password for device copy wizard</comment>
        <translation>différents</translation>
    </message>
    <message>
        <source>Confirmation</source>
        <translation>Confirmation</translation>
    </message>
    <message>
        <source>Please confirm the device duplication settings.&lt;br /&gt;&lt;br /&gt;Source device name: &lt;b&gt;%1&lt;/b&gt;&lt;br /&gt;Target device name: &lt;b&gt;%2&lt;/b&gt;&lt;br /&gt;Source and target devices master password are &lt;b&gt;%3&lt;/b&gt;.&lt;br /&gt;&lt;br /&gt;Do you want to continue?</source>
        <translation>Veuillez confirmer les paramètres de duplication de l&apos;appareil.&lt;br /&gt;&lt;br /&gt;Nom de l&apos;appareil source : &lt;b&gt;%1&lt;/b&gt;&lt;br /&gt;Nom de l&apos;appareil cible : &lt;b&gt;%2&lt;/b&gt;&lt;br /&gt;Les mots de passe maîtres des appareils source et cible sont &lt;b&gt;%3&lt;/b&gt;.&lt;br /&gt;&lt;br /&gt;Voulez-vous continuer ?</translation>
    </message>
    <message>
        <source>Success</source>
        <comment>Device name change</comment>
        <translation>Succès</translation>
    </message>
    <message>
        <source>Device name was successfully changed.</source>
        <translation>Le nom de l&apos;appareil a été modifié avec succès.</translation>
    </message>
    <message>
        <source>Name too long</source>
        <translation>Nom trop long</translation>
    </message>
    <message>
        <source>Device name is limited to %1 ASCII characters (some UTF-8 characters can use several ASCII characters).
Please retry with a shorter name.</source>
        <translation>Le nom de l&apos;appareil est limité à %1 caractères ASCII (certains caractères UTF-8 peuvent occuper plusieurs caractères ASCII).
Veuillez réessayer avec un nom plus court.</translation>
    </message>
    <message>
        <source>Reading the device backup memory...</source>
        <translation>Lecture de la mémoire de secours du périphérique...</translation>
    </message>
    <message>
        <source>Could not read the device backup memory. The records shown come from its main memory.</source>
        <translation>Impossible de lire la mémoire de secours du périphérique. Les enregistrements affichés proviennent de sa mémoire principale.</translation>
    </message>
    <message>
        <source>The main memory of the device &apos;%1&apos; does not open: the records shown come from its backup memory.
Do you want to repair the main memory now? The backup memory is copied to it, then checked.</source>
        <translation>La mémoire principale du périphérique &apos;%1&apos; ne s&apos;ouvre pas : les enregistrements affichés proviennent de sa mémoire de secours.
Voulez-vous réparer la mémoire principale maintenant ? La mémoire de secours y est copiée, puis vérifiée.</translation>
    </message>
    <message>
        <source>The backup memory of the device &apos;%1&apos; is damaged: the device holds only one good copy of your records.
Do you want to repair the backup memory now? The main memory is copied to it, then checked.</source>
        <translation>La mémoire de secours du périphérique &apos;%1&apos; est endommagée : le périphérique ne détient qu&apos;une seule copie valide de vos enregistrements.
Voulez-vous réparer la mémoire de secours maintenant ? La mémoire principale y est copiée, puis vérifiée.</translation>
    </message>
    <message>
        <source>Damaged memory</source>
        <translation>Mémoire endommagée</translation>
    </message>
    <message>
        <source>Repair</source>
        <translation>Réparer</translation>
    </message>
    <message>
        <source>Not now</source>
        <translation>Plus tard</translation>
    </message>
    <message>
        <source>Another device was selected while this one was being accessed: the operation was stopped and nothing more was sent to either device.
Check which device you want to use, then retry.</source>
        <translation>Un autre périphérique a été sélectionné pendant l&apos;accès à celui-ci : l&apos;opération a été arrêtée et plus rien n&apos;a été envoyé à l&apos;un ou l&apos;autre périphérique.
Vérifiez quel périphérique vous voulez utiliser, puis réessayez.</translation>
    </message>
    <message>
        <source>Device being written</source>
        <translation>Écriture du périphérique en cours</translation>
    </message>
    <message>
        <source>A device is being written: the application will quit as soon as the write has ended.</source>
        <translation>Un périphérique est en cours d&apos;écriture : l&apos;application se fermera dès la fin de l&apos;écriture.</translation>
    </message>
    <message>
        <source>The source device content is no longer held. Please read the source device again.</source>
        <translation>Le contenu du périphérique source n&apos;est plus conservé. Veuillez relire le périphérique source.</translation>
    </message>
    <message>
        <source>The selected device is the source device (USB serial number %1): a device cannot be copied onto itself.
Plug in the target device, select it, then retry.</source>
        <translation>Le périphérique sélectionné est le périphérique source (numéro de série USB %1) : un périphérique ne peut pas être copié sur lui-même.
Branchez le périphérique cible, sélectionnez-le, puis réessayez.</translation>
    </message>
    <message>
        <source>A device is being written.
Wait until the write has ended before quitting.</source>
        <translation>Un périphérique est en cours d&apos;écriture.
Attendez la fin de l&apos;écriture avant de quitter.</translation>
    </message>
    <message>
        <source>The main and backup memories of the device &apos;%1&apos; differ and neither opens with the master password: either could be the last good copy of its records, so nothing was written.
Open the device with its own master password to repair it, or erase it first.</source>
        <translation>Les mémoires principale et de secours du périphérique &apos;%1&apos; diffèrent et aucune ne s&apos;ouvre avec le mot de passe maître : chacune pourrait être la dernière copie valide de ses enregistrements, donc rien n&apos;a été écrit.
Ouvrez le périphérique avec son propre mot de passe maître pour le réparer, ou effacez-le d&apos;abord.</translation>
    </message>
    <message>
        <source>Repair success</source>
        <translation>Réparation réussie</translation>
    </message>
    <message>
        <source>Both device memories hold the same complete content again.</source>
        <translation>Les deux mémoires du périphérique contiennent à nouveau le même contenu complet.</translation>
    </message>
    <message>
        <source>Open backup file...</source>
        <translation>Ouvrir un fichier de sauvegarde...</translation>
    </message>
    <message>
        <source>Back up to file...</source>
        <translation>Sauvegarder dans un fichier...</translation>
    </message>
    <message>
        <source>Pavisor Key Manager - %1 [unsaved data]</source>
        <translation>Pavisor Key Manager - %1 [données non enregistrées]</translation>
    </message>
    <message>
        <source>Pavisor Key Manager - %1</source>
        <translation>Pavisor Key Manager - %1</translation>
    </message>
    <message>
        <source>Back up to file</source>
        <translation>Sauvegarder dans un fichier</translation>
    </message>
    <message>
        <source>Could not write the backup file &apos;%1&apos; (%2).</source>
        <translation>Impossible d&apos;écrire le fichier de sauvegarde &apos;%1&apos; (%2).</translation>
    </message>
    <message>
        <source>Backup written</source>
        <translation>Sauvegarde écrite</translation>
    </message>
    <message>
        <source>The device &apos;%1&apos; was backed up to the file &apos;%2&apos;.
The file opens with the device&apos;s master password.</source>
        <translation>Le périphérique &apos;%1&apos; a été sauvegardé dans le fichier &apos;%2&apos;.
Le fichier s&apos;ouvre avec le mot de passe maître du périphérique.</translation>
    </message>
    <message>
        <source>Opening a backup file</source>
        <translation>Ouverture d&apos;un fichier de sauvegarde</translation>
    </message>
    <message>
        <source>You have made some modifications to the currently displayed data without saving them.
Do you confirm overwriting such unsaved data with the content of the backup file?</source>
        <translation>Vous avez modifié les données affichées sans les enregistrer.
Confirmez-vous le remplacement de ces données non enregistrées par le contenu du fichier de sauvegarde ?</translation>
    </message>
    <message>
        <source>Open backup file</source>
        <translation>Ouvrir un fichier de sauvegarde</translation>
    </message>
    <message>
        <source>Could not open the backup file &apos;%1&apos;.
%2</source>
        <translation>Impossible d&apos;ouvrir le fichier de sauvegarde &apos;%1&apos;.
%2</translation>
    </message>
    <message>
        <source>The automatic backup file of this save could not be written (%1).</source>
        <translation>Le fichier de sauvegarde automatique de cet enregistrement n&apos;a pas pu être écrit (%1).</translation>
    </message>
    <message>
        <source>Blank device</source>
        <translation>Périphérique vierge</translation>
    </message>
    <message>
        <source>This Pavisor is blank: it holds no records (it is new, or it was erased), so no master password opens it.
To set it up, click &quot;start initializing your Pavisor&quot; on the start menu, add your records, then save them to the device with &quot;Set/change the master password then save&quot;.</source>
        <translation>Ce Pavisor est vierge : il ne contient aucune fiche (il est neuf, ou il a été effacé), aucun mot de passe maître ne peut donc l&apos;ouvrir.
Pour le préparer, cliquez sur « commencez à initialiser votre Pavisor » dans le menu de démarrage, ajoutez vos fiches, puis enregistrez-les dans le périphérique avec « Définir ou changer le mot de passe maître puis enregistrer ».</translation>
    </message>
    <message>
        <source>Wrong password: the device did not open with it. Type it again; it is tried at once on the memories already read.</source>
        <translation>Mot de passe erroné : le périphérique ne s&apos;est pas ouvert avec lui. Saisissez-le à nouveau ; il est essayé aussitôt sur les mémoires déjà lues.</translation>
    </message>
    <message>
        <source>Cancel</source>
        <translation>Annuler</translation>
    </message>
    <message>
        <source>All data were saved to the device &apos;%1&apos; and checked. You can safely remove the device.</source>
        <translation>Toutes les données ont été enregistrées dans le périphérique « %1 » et vérifiées. Vous pouvez retirer le périphérique en toute sécurité.</translation>
    </message>
    <message>
        <source>&amp;File</source>
        <translation>&amp;Fichier</translation>
    </message>
    <message>
        <source>&amp;Edit</source>
        <translation>É&amp;dition</translation>
    </message>
    <message>
        <source>&amp;Device</source>
        <translation>&amp;Périphérique</translation>
    </message>
    <message>
        <source>&amp;Help</source>
        <translation>&amp;Aide</translation>
    </message>
    <message>
        <source>Copy login</source>
        <translation>Copier l&apos;identifiant</translation>
    </message>
    <message>
        <source>Copy password</source>
        <translation>Copier le mot de passe</translation>
    </message>
    <message>
        <source>Clear clipboard</source>
        <translation>Vider le presse-papiers</translation>
    </message>
    <message>
        <source>Find</source>
        <translation>Rechercher</translation>
    </message>
</context>
<context>
    <name>PasswordTabWidget</name>
    <message>
        <source>Tabs</source>
        <translation>Onglets</translation>
    </message>
</context>
<context>
    <name>PasswordTable</name>
    <message>
        <source>Name</source>
        <translation>Nom</translation>
    </message>
    <message>
        <source>ID / Login / Email</source>
        <translation>Identifiant / Login / E-mail</translation>
    </message>
    <message>
        <source>Password</source>
        <translation>Mot de passe</translation>
    </message>
    <message>
        <source>Web site / URL</source>
        <translation>Site web / URL</translation>
    </message>
    <message>
        <source>Note</source>
        <translation>Note</translation>
    </message>
    <message>
        <source>Edit</source>
        <translation>Modifier</translation>
    </message>
    <message>
        <source>Duplicate row into tab...</source>
        <translation>Dupliquer la ligne dans l&apos;onglet...</translation>
    </message>
    <message>
        <source>Move row to tab...</source>
        <translation>Déplacer la ligne vers l&apos;onglet...</translation>
    </message>
    <message>
        <source>Records</source>
        <translation>Enregistrements</translation>
    </message>
    <message>
        <source>Copy login</source>
        <translation>Copier l&apos;identifiant</translation>
    </message>
    <message>
        <source>Copy password</source>
        <translation>Copier le mot de passe</translation>
    </message>
    <message>
        <source>Remove</source>
        <translation>Supprimer</translation>
    </message>
</context>
<context>
    <name>PasswordTablePasswordItem</name>
    <message>
        <source>Hide password</source>
        <translation>Masquer le mot de passe</translation>
    </message>
    <message>
        <source>password hidden</source>
        <translation>mot de passe masqué</translation>
    </message>
    <message>
        <source>Show password</source>
        <translation>Afficher le mot de passe</translation>
    </message>
</context>
<context>
    <name>QObject</name>
    <message>
        <source>very weak</source>
        <translation>très faible</translation>
    </message>
    <message>
        <source>weak</source>
        <translation>faible</translation>
    </message>
    <message>
        <source>average</source>
        <translation>moyen</translation>
    </message>
    <message>
        <source>good</source>
        <translation>bon</translation>
    </message>
    <message>
        <source>excellent</source>
        <translation>excellent</translation>
    </message>
</context>
<context>
    <name>SafeFile</name>
    <message>
        <source>It is not a regular file.</source>
        <translation>Ce n&apos;est pas un fichier ordinaire.</translation>
    </message>
</context>
<context>
    <name>ViewContentApplicationLocked</name>
    <message>
        <source>Insert password:</source>
        <translation>Saisir le mot de passe :</translation>
    </message>
    <message>
        <source>Show</source>
        <translation>Afficher</translation>
    </message>
    <message>
        <source>Unlock</source>
        <translation>Déverrouiller</translation>
    </message>
    <message>
        <source>Quit</source>
        <translation>Quitter</translation>
    </message>
    <message>
        <source>You can configure or disable the application auto locking feature from the Settings menu.</source>
        <translation>Vous pouvez configurer ou désactiver le verrouillage automatique de l&apos;application depuis le menu Paramètres.</translation>
    </message>
    <message>
        <source>Wrong master password</source>
        <translation>Mauvais mot de passe maître</translation>
    </message>
    <message>
        <source>Wrong master password, please retry.
You can also quit the application.</source>
        <translation>Mauvais mot de passe maître, veuillez réessayer.
Vous pouvez aussi quitter l&apos;application.</translation>
    </message>
    <message>
        <source>Unlock (%1 s)</source>
        <translation>Déverrouiller (%1 s)</translation>
    </message>
</context>
<context>
    <name>ViewContentBase</name>
    <message>
        <source>Hide</source>
        <translation>Masquer</translation>
    </message>
    <message>
        <source>Show</source>
        <translation>Afficher</translation>
    </message>
</context>
<context>
    <name>ViewContentChangeDeviceName</name>
    <message>
        <source>You can customize your device name as many times as you want.</source>
        <translation>Vous pouvez personnaliser le nom de votre périphérique autant de fois que vous le souhaitez.</translation>
    </message>
    <message>
        <source>Enter the new device name:</source>
        <translation>Saisissez le nouveau nom du périphérique :</translation>
    </message>
    <message>
        <source>OK</source>
        <translation>OK</translation>
    </message>
    <message>
        <source>Cancel</source>
        <translation>Annuler</translation>
    </message>
</context>
<context>
    <name>ViewContentDeviceAccess</name>
    <message>
        <source>Device name: %1</source>
        <translation>Nom du périphérique : %1</translation>
    </message>
</context>
<context>
    <name>ViewContentDeviceCopyWizardPage1</name>
    <message>
        <source>This wizard will allow you to duplicate the content of a device to another device.</source>
        <translation>Cet assistant vous permet de dupliquer le contenu d&apos;un appareil vers un autre appareil.</translation>
    </message>
    <message>
        <source>&lt;html&gt;&lt;head/&gt;&lt;body&gt;&lt;p&gt;&lt;span style=&quot; font-weight:600;&quot;&gt;Warning:&lt;/span&gt; the target device content will be overwritten.&lt;/p&gt;&lt;/body&gt;&lt;/html&gt;</source>
        <translation>&lt;html&gt;&lt;head/&gt;&lt;body&gt;&lt;p&gt;&lt;span style=&quot; font-weight:600;&quot;&gt;Attention :&lt;/span&gt; le contenu de l&apos;appareil cible sera écrasé.&lt;/p&gt;&lt;/body&gt;&lt;/html&gt;</translation>
    </message>
    <message>
        <source>&lt;html&gt;&lt;head/&gt;&lt;body&gt;&lt;p&gt;Click the &lt;span style=&quot; font-weight:600;&quot;&gt;Next&lt;/span&gt; button to continue.&lt;/p&gt;&lt;/body&gt;&lt;/html&gt;</source>
        <translation>&lt;html&gt;&lt;head/&gt;&lt;body&gt;&lt;p&gt;Cliquez sur le bouton &lt;span style=&quot; font-weight:600;&quot;&gt;Suivant&lt;/span&gt; pour continuer.&lt;/p&gt;&lt;/body&gt;&lt;/html&gt;</translation>
    </message>
    <message>
        <source>Previous</source>
        <translation>Précédent</translation>
    </message>
    <message>
        <source>Next</source>
        <translation>Suivant</translation>
    </message>
    <message>
        <source>Cancel</source>
        <translation>Annuler</translation>
    </message>
</context>
<context>
    <name>ViewContentDeviceCopyWizardPage2</name>
    <message>
        <source>&lt;html&gt;&lt;head/&gt;&lt;body&gt;&lt;p&gt;Please plug the source device (the device to copy data from), enter its master password below then press the &lt;span style=&quot; font-weight:600;&quot;&gt;Next&lt;/span&gt; button.&lt;/p&gt;&lt;p&gt;If more than one device is connected, you will be asked to choose which one is the source device.&lt;/p&gt;&lt;/body&gt;&lt;/html&gt;</source>
        <translation>&lt;html&gt;&lt;head/&gt;&lt;body&gt;&lt;p&gt;Veuillez brancher l&apos;appareil source (l&apos;appareil dont les données seront copiées), saisir son mot de passe maître ci-dessous puis appuyer sur le bouton &lt;span style=&quot; font-weight:600;&quot;&gt;Suivant&lt;/span&gt;.&lt;/p&gt;&lt;p&gt;Si plusieurs appareils sont connectés, il vous sera demandé de choisir lequel est l&apos;appareil source.&lt;/p&gt;&lt;/body&gt;&lt;/html&gt;</translation>
    </message>
    <message>
        <source>Enter the source device master password:</source>
        <translation>Saisissez le mot de passe maître de l&apos;appareil source :</translation>
    </message>
    <message>
        <source>Show</source>
        <translation>Afficher</translation>
    </message>
    <message>
        <source>Previous</source>
        <translation>Précédent</translation>
    </message>
    <message>
        <source>Next</source>
        <translation>Suivant</translation>
    </message>
    <message>
        <source>Cancel</source>
        <translation>Annuler</translation>
    </message>
</context>
<context>
    <name>ViewContentDeviceCopyWizardPage3</name>
    <message>
        <source>&lt;html&gt;&lt;head/&gt;&lt;body&gt;&lt;p&gt;The content of the source device has been successfully retrieved. You can now unplug the source device and plug the target device (the device the retrieved content will be copied to).&lt;/p&gt;&lt;p&gt;&lt;span style=&quot; font-weight:600;&quot;&gt;Warning:&lt;/span&gt; the target device current content will be overwritten.&lt;/p&gt;&lt;p&gt;If more than one device is connected, you will be asked to choose which one is the target device.&lt;/p&gt;&lt;/body&gt;&lt;/html&gt;</source>
        <translation>&lt;html&gt;&lt;head/&gt;&lt;body&gt;&lt;p&gt;Le contenu de l&apos;appareil source a été récupéré avec succès. Vous pouvez maintenant débrancher l&apos;appareil source et brancher l&apos;appareil cible (l&apos;appareil vers lequel le contenu récupéré sera copié).&lt;/p&gt;&lt;p&gt;&lt;span style=&quot; font-weight:600;&quot;&gt;Attention :&lt;/span&gt; le contenu actuel de l&apos;appareil cible sera écrasé.&lt;/p&gt;&lt;p&gt;Si plusieurs appareils sont connectés, il vous sera demandé de choisir lequel est l&apos;appareil cible.&lt;/p&gt;&lt;/body&gt;&lt;/html&gt;</translation>
    </message>
    <message>
        <source>&lt;html&gt;&lt;head/&gt;&lt;body&gt;&lt;p&gt;Enter the target device master password or leave blank to use the same master password than the source device, then click the &lt;span style=&quot; font-weight:600;&quot;&gt;Next&lt;/span&gt; button:&lt;/p&gt;&lt;/body&gt;&lt;/html&gt;</source>
        <translation>&lt;html&gt;&lt;head/&gt;&lt;body&gt;&lt;p&gt;Saisissez le mot de passe maître de l&apos;appareil cible, ou laissez vide pour utiliser le même mot de passe maître que l&apos;appareil source, puis cliquez sur le bouton &lt;span style=&quot; font-weight:600;&quot;&gt;Suivant&lt;/span&gt; :&lt;/p&gt;&lt;/body&gt;&lt;/html&gt;</translation>
    </message>
    <message>
        <source>Leave blank to use the source device master password</source>
        <translation>Laisser vide pour utiliser le mot de passe maître de l&apos;appareil source</translation>
    </message>
    <message>
        <source>Show</source>
        <translation>Afficher</translation>
    </message>
    <message>
        <source>Previous</source>
        <translation>Précédent</translation>
    </message>
    <message>
        <source>Next</source>
        <translation>Suivant</translation>
    </message>
    <message>
        <source>Cancel</source>
        <translation>Annuler</translation>
    </message>
    <message>
        <source>Password strength: &lt;b&gt;%1&lt;/b&gt;</source>
        <translation>Robustesse du mot de passe : &lt;b&gt;%1&lt;/b&gt;</translation>
    </message>
    <message>
        <source>Target device master password</source>
        <translation>Mot de passe maître du périphérique cible</translation>
    </message>
</context>
<context>
    <name>ViewContentDeviceCopyWizardPage4</name>
    <message>
        <source>&lt;html&gt;&lt;head/&gt;&lt;body&gt;&lt;p&gt;The source device content has been successfully duplicated into the target device.&lt;/p&gt;&lt;p&gt;You can safely unplug the device(s).&lt;/p&gt;&lt;/body&gt;&lt;/html&gt;</source>
        <translation>&lt;html&gt;&lt;head/&gt;&lt;body&gt;&lt;p&gt;Le contenu de l&apos;appareil source a été dupliqué avec succès dans l&apos;appareil cible.&lt;/p&gt;&lt;p&gt;Vous pouvez débrancher le ou les appareils en toute sécurité.&lt;/p&gt;&lt;/body&gt;&lt;/html&gt;</translation>
    </message>
    <message>
        <source>Previous</source>
        <translation>Précédent</translation>
    </message>
    <message>
        <source>Next</source>
        <translation>Suivant</translation>
    </message>
    <message>
        <source>Exit</source>
        <translation>Quitter</translation>
    </message>
</context>
<context>
    <name>ViewContentDeviceErasingWizardPage1</name>
    <message>
        <source>This wizard allows you to fully erase a device content.</source>
        <translation>Cet assistant vous permet d&apos;effacer entièrement le contenu d&apos;un appareil.</translation>
    </message>
    <message>
        <source>&lt;html&gt;&lt;head/&gt;&lt;body&gt;&lt;p&gt;&lt;span style=&quot; font-weight:600;&quot;&gt;Warning:&lt;/span&gt; the device content will be lost with no possibility to retrieve it.&lt;/p&gt;&lt;/body&gt;&lt;/html&gt;</source>
        <translation>&lt;html&gt;&lt;head/&gt;&lt;body&gt;&lt;p&gt;&lt;span style=&quot; font-weight:600;&quot;&gt;Attention :&lt;/span&gt; le contenu de l&apos;appareil sera perdu sans aucune possibilité de le récupérer.&lt;/p&gt;&lt;/body&gt;&lt;/html&gt;</translation>
    </message>
    <message>
        <source>&lt;html&gt;&lt;head/&gt;&lt;body&gt;&lt;p&gt;Click the &lt;span style=&quot; font-weight:600;&quot;&gt;Next&lt;/span&gt; button to continue.&lt;/p&gt;&lt;/body&gt;&lt;/html&gt;</source>
        <translation>&lt;html&gt;&lt;head/&gt;&lt;body&gt;&lt;p&gt;Cliquez sur le bouton &lt;span style=&quot; font-weight:600;&quot;&gt;Suivant&lt;/span&gt; pour continuer.&lt;/p&gt;&lt;/body&gt;&lt;/html&gt;</translation>
    </message>
    <message>
        <source>Next</source>
        <translation>Suivant</translation>
    </message>
    <message>
        <source>Cancel</source>
        <translation>Annuler</translation>
    </message>
</context>
<context>
    <name>ViewContentDeviceErasingWizardPage2</name>
    <message>
        <source>Please connect the device to erase.</source>
        <translation>Veuillez connecter l&apos;appareil à effacer.</translation>
    </message>
    <message>
        <source>&lt;html&gt;&lt;head/&gt;&lt;body&gt;&lt;p&gt;&lt;span style=&quot; font-weight:600;&quot;&gt;Warning:&lt;/span&gt; the device content will be lost with no possibility to retrieve it.&lt;/p&gt;&lt;/body&gt;&lt;/html&gt;</source>
        <translation>&lt;html&gt;&lt;head/&gt;&lt;body&gt;&lt;p&gt;&lt;span style=&quot; font-weight:600;&quot;&gt;Attention :&lt;/span&gt; le contenu de l&apos;appareil sera perdu sans aucune possibilité de le récupérer.&lt;/p&gt;&lt;/body&gt;&lt;/html&gt;</translation>
    </message>
    <message>
        <source>&lt;html&gt;&lt;head/&gt;&lt;body&gt;&lt;p&gt;Check the confirmation box and click the &lt;span style=&quot; font-weight:600;&quot;&gt;Next&lt;/span&gt; button to continue.&lt;/p&gt;&lt;/body&gt;&lt;/html&gt;</source>
        <translation>&lt;html&gt;&lt;head/&gt;&lt;body&gt;&lt;p&gt;Cochez la case de confirmation et cliquez sur le bouton &lt;span style=&quot; font-weight:600;&quot;&gt;Suivant&lt;/span&gt; pour continuer.&lt;/p&gt;&lt;/body&gt;&lt;/html&gt;</translation>
    </message>
    <message>
        <source>Also reset the device name</source>
        <translation>Réinitialiser aussi le nom de l&apos;appareil</translation>
    </message>
    <message>
        <source>I confirm I want to irreversibly delete the device content</source>
        <translation>Je confirme vouloir supprimer définitivement le contenu de l&apos;appareil</translation>
    </message>
    <message>
        <source>Next</source>
        <translation>Suivant</translation>
    </message>
    <message>
        <source>Cancel</source>
        <translation>Annuler</translation>
    </message>
</context>
<context>
    <name>ViewContentDeviceErasingWizardPage3</name>
    <message>
        <source>The device content has been successfully erased.</source>
        <translation>Le contenu de l&apos;appareil a été effacé avec succès.</translation>
    </message>
    <message>
        <source>You can safely unplug the device.</source>
        <translation>Vous pouvez débrancher l&apos;appareil en toute sécurité.</translation>
    </message>
    <message>
        <source>Exit</source>
        <translation>Quitter</translation>
    </message>
</context>
<context>
    <name>ViewContentDeviceSelection</name>
    <message>
        <source>Select the device to use. Make sure at least one Pavisor is connected to the computer.</source>
        <translation>Sélectionnez le périphérique à utiliser. Assurez-vous qu&apos;au moins un Pavisor est connecté à l&apos;ordinateur.</translation>
    </message>
    <message>
        <source>Click on a device to make it blink.</source>
        <translation>Cliquez sur un périphérique pour le faire clignoter.</translation>
    </message>
    <message>
        <source>Select</source>
        <translation>Sélectionner</translation>
    </message>
    <message>
        <source>Cancel</source>
        <translation>Annuler</translation>
    </message>
    <message>
        <source>Error</source>
        <translation>Erreur</translation>
    </message>
    <message>
        <source>Could not stop the device with USB serial number &apos;%1&apos; LED from blinking.</source>
        <translation>Impossible d&apos;arrêter le clignotement de la LED du périphérique de numéro de série USB « %1 ».</translation>
    </message>
    <message>
        <source>Could not make the device LED blink.</source>
        <translation>Impossible de faire clignoter la LED du périphérique.</translation>
    </message>
    <message>
        <source>Detected devices</source>
        <translation>Périphériques détectés</translation>
    </message>
</context>
<context>
    <name>ViewContentImportCSVFile</name>
    <message>
        <source>CSV file to import</source>
        <translation>Fichier CSV à importer</translation>
    </message>
    <message>
        <source>Select file...</source>
        <translation>Choisir un fichier...</translation>
    </message>
    <message>
        <source>No file selected.</source>
        <translation>Aucun fichier choisi.</translation>
    </message>
    <message>
        <source>CSV file settings</source>
        <translation>Paramètres du fichier CSV</translation>
    </message>
    <message>
        <source>Fields separator:</source>
        <translation>Séparateur de champs :</translation>
    </message>
    <message>
        <source>Comma (,)</source>
        <translation>Virgule (,)</translation>
    </message>
    <message>
        <source>Semicolon (;)</source>
        <translation>Point-virgule (;)</translation>
    </message>
    <message>
        <source>Tab</source>
        <translation>Tabulation</translation>
    </message>
    <message>
        <source>Space</source>
        <translation>Espace</translation>
    </message>
    <message>
        <source>Destination tab</source>
        <translation>Onglet de destination</translation>
    </message>
    <message>
        <source>Create a new tab</source>
        <translation>Créer un nouvel onglet</translation>
    </message>
    <message>
        <source>New tab name:</source>
        <translation>Nom du nouvel onglet :</translation>
    </message>
    <message>
        <source>Please insert a name</source>
        <translation>Veuillez saisir un nom</translation>
    </message>
    <message>
        <source>Import to existing tab</source>
        <translation>Importer dans un onglet existant</translation>
    </message>
    <message>
        <source>Select tab:</source>
        <translation>Choisir l&apos;onglet :</translation>
    </message>
    <message>
        <source>Yet-existing passwords with the same name will be replaced by the ones from the CSV file. Otherwise, if this checkbox is not checked, all imported passwords will be added to the tab without removing old occurrences.</source>
        <translation>Les mots de passe déjà présents portant le même nom seront remplacés par ceux du fichier CSV. Sinon, si cette case n&apos;est pas cochée, tous les mots de passe importés seront ajoutés à l&apos;onglet sans supprimer les anciennes occurrences.</translation>
    </message>
    <message>
        <source>Update existing passwords with imported ones</source>
        <translation>Mettre à jour les mots de passe existants avec ceux importés</translation>
    </message>
    <message>
        <source>OK</source>
        <translation>OK</translation>
    </message>
    <message>
        <source>Cancel</source>
        <translation>Annuler</translation>
    </message>
    <message>
        <source>How to import a CSV file?</source>
        <translation>Comment importer un fichier CSV ?</translation>
    </message>
    <message>
        <source>Import a CSV file</source>
        <translation>Importer un fichier CSV</translation>
    </message>
    <message>
        <source>Comma Separated Value (*.csv *.CSV)</source>
        <translation>Valeurs séparées par des virgules (*.csv *.CSV)</translation>
    </message>
    <message>
        <source>Selected file: %1</source>
        <translation>Fichier choisi : %1</translation>
    </message>
    <message>
        <source>Preview</source>
        <translation>Aperçu</translation>
    </message>
    <message>
        <source>Name</source>
        <translation>Nom</translation>
    </message>
    <message>
        <source>ID / Login / Email</source>
        <translation>Identifiant / Login / E-mail</translation>
    </message>
    <message>
        <source>Password</source>
        <translation>Mot de passe</translation>
    </message>
    <message>
        <source>Web site / URL</source>
        <translation>Site web / URL</translation>
    </message>
    <message>
        <source>Note</source>
        <translation>Note</translation>
    </message>
    <message>
        <source>Lines that will not be imported:</source>
        <translation>Lignes qui ne seront pas importées :</translation>
    </message>
    <message>
        <source>Folders</source>
        <translation>Dossiers</translation>
    </message>
    <message>
        <source>One tab per folder (records without a folder go to the destination tab)</source>
        <translation>Un onglet par dossier (les fiches sans dossier vont dans l&apos;onglet de destination)</translation>
    </message>
    <message>
        <source>Everything into the destination tab</source>
        <translation>Tout dans l&apos;onglet de destination</translation>
    </message>
    <message>
        <source>This file cannot be imported: %1</source>
        <translation>Ce fichier ne peut pas être importé : %1</translation>
    </message>
    <message>
        <source>Recognised format: %1.</source>
        <translation>Format reconnu : %1.</translation>
    </message>
    <message>
        <source>No record can be imported from this file.</source>
        <translation>Aucune fiche ne peut être importée de ce fichier.</translation>
    </message>
    <message>
        <source>One record will be imported:</source>
        <translation>Une fiche sera importée :</translation>
    </message>
    <message>
        <source>%1 records will be imported:</source>
        <translation>%1 fiches seront importées :</translation>
    </message>
    <message>
        <source>%1 records will be imported; the first %2 are shown:</source>
        <translation>%1 fiches seront importées ; les %2 premières sont affichées :</translation>
    </message>
    <message>
        <source>... (%1 lines in all)</source>
        <translation>... (%1 lignes en tout)</translation>
    </message>
</context>
<context>
    <name>ViewContentInsertReadingMasterPassword</name>
    <message>
        <source>Enter password:</source>
        <translation>Saisir le mot de passe :</translation>
    </message>
    <message>
        <source>Show</source>
        <translation>Afficher</translation>
    </message>
    <message>
        <source>OK</source>
        <translation>OK</translation>
    </message>
    <message>
        <source>Cancel</source>
        <translation>Annuler</translation>
    </message>
</context>
<context>
    <name>ViewContentInsertWritingMasterPassword</name>
    <message>
        <source>Enter password:</source>
        <translation>Saisir le mot de passe :</translation>
    </message>
    <message>
        <source>Show</source>
        <translation>Afficher</translation>
    </message>
    <message>
        <source>Confirm password:</source>
        <translation>Confirmer le mot de passe :</translation>
    </message>
    <message>
        <source>Passwords do not match.</source>
        <translation>Les mots de passe ne correspondent pas.</translation>
    </message>
    <message>
        <source>OK</source>
        <translation>OK</translation>
    </message>
    <message>
        <source>Cancel</source>
        <translation>Annuler</translation>
    </message>
    <message>
        <source>How to choose the master password?</source>
        <translation>Comment choisir le mot de passe maître ?</translation>
    </message>
    <message>
        <source>Password strength: &lt;b&gt;%1&lt;/b&gt;</source>
        <translation>Robustesse du mot de passe : &lt;b&gt;%1&lt;/b&gt;</translation>
    </message>
    <message>
        <source>Passwords are matching.</source>
        <translation>Les mots de passe correspondent.</translation>
    </message>
    <message>
        <source>Hide</source>
        <translation>Masquer</translation>
    </message>
</context>
<context>
    <name>ViewContentLineInputDialog</name>
    <message>
        <source>&lt;No text provided&gt;</source>
        <translation>&lt;Aucun texte fourni&gt;</translation>
    </message>
    <message>
        <source>OK</source>
        <translation>OK</translation>
    </message>
    <message>
        <source>Cancel</source>
        <translation>Annuler</translation>
    </message>
</context>
<context>
    <name>ViewContentMessageBoxDialog</name>
    <message>
        <source>OK</source>
        <translation>OK</translation>
    </message>
    <message>
        <source>Yes</source>
        <translation>Oui</translation>
    </message>
    <message>
        <source>No</source>
        <translation>Non</translation>
    </message>
    <message>
        <source>Cancel</source>
        <translation>Annuler</translation>
    </message>
</context>
<context>
    <name>ViewContentPasswordInformation</name>
    <message>
        <source>Name:</source>
        <translation>Nom :</translation>
    </message>
    <message>
        <source>This field must not be empty</source>
        <translation>Ce champ ne doit pas être vide</translation>
    </message>
    <message>
        <source>ID / Login / Email:</source>
        <translation>Identifiant / Login / E-mail :</translation>
    </message>
    <message>
        <source>Password:</source>
        <translation>Mot de passe :</translation>
    </message>
    <message>
        <source>Show</source>
        <translation>Afficher</translation>
    </message>
    <message>
        <source>Copy</source>
        <translation>Copier</translation>
    </message>
    <message>
        <source>Characters count: 0</source>
        <translation>Nombre de caractères : 0</translation>
    </message>
    <message>
        <source>Password generation</source>
        <translation>Génération de mot de passe</translation>
    </message>
    <message>
        <source>Mode:</source>
        <translation>Mode :</translation>
    </message>
    <message>
        <source>Auto</source>
        <comment>Password generation mode</comment>
        <translation>Automatique</translation>
    </message>
    <message>
        <source>Advanced</source>
        <comment>Password generation mode</comment>
        <translation>Avancé</translation>
    </message>
    <message>
        <source>Characters count:</source>
        <translation>Nombre de caractères :</translation>
    </message>
    <message>
        <source>Contain lowercase letters</source>
        <translation>Contient des lettres minuscules</translation>
    </message>
    <message>
        <source>Contain uppercase letters</source>
        <translation>Contient des lettres majuscules</translation>
    </message>
    <message>
        <source>Contain digits</source>
        <translation>Contient des chiffres</translation>
    </message>
    <message>
        <source>Contain symbols</source>
        <translation>Contient des symboles</translation>
    </message>
    <message>
        <source>Generate</source>
        <translation>Générer</translation>
    </message>
    <message>
        <source>&lt;a href=&quot;advanced_password_generation.html&quot;&gt;Help&lt;/a&gt;</source>
        <translation>&lt;a href=&quot;advanced_password_generation.html&quot;&gt;Aide&lt;/a&gt;</translation>
    </message>
    <message>
        <source>Web site / URL:</source>
        <translation>Site web / URL :</translation>
    </message>
    <message>
        <source>Note:</source>
        <translation>Note :</translation>
    </message>
    <message>
        <source>Save</source>
        <translation>Enregistrer</translation>
    </message>
    <message>
        <source>Cancel</source>
        <translation>Annuler</translation>
    </message>
    <message>
        <source>Characters count: %1</source>
        <translation>Nombre de caractères : %1</translation>
    </message>
</context>
<context>
    <name>ViewContentReadDevice</name>
    <message>
        <source>Device name:</source>
        <translation>Nom du périphérique :</translation>
    </message>
</context>
<context>
    <name>ViewContentSettings</name>
    <message>
        <source>Application update</source>
        <translation>Mise à jour de l&apos;application</translation>
    </message>
    <message>
        <source>Check for a newer application version on start</source>
        <translation>Rechercher une version plus récente de l&apos;application au démarrage</translation>
    </message>
    <message>
        <source>Application auto locking</source>
        <translation>Verrouillage automatique de l&apos;application</translation>
    </message>
    <message>
        <source>Automatically lock the application when the user is inactive for a while</source>
        <translation>Verrouiller automatiquement l&apos;application après un moment d&apos;inactivité de l&apos;utilisateur</translation>
    </message>
    <message>
        <source>Delay before locking (in minutes):</source>
        <translation>Délai avant verrouillage (en minutes) :</translation>
    </message>
    <message>
        <source>Save</source>
        <translation>Enregistrer</translation>
    </message>
    <message>
        <source>Cancel</source>
        <translation>Annuler</translation>
    </message>
    <message>
        <source>Clipboard</source>
        <translation>Presse-papiers</translation>
    </message>
    <message>
        <source>Clear the clipboard after</source>
        <translation>Vider le presse-papiers après</translation>
    </message>
    <message>
        <source>seconds</source>
        <translation>secondes</translation>
    </message>
    <message>
        <source>Backups</source>
        <translation>Sauvegardes</translation>
    </message>
    <message>
        <source>Keep a backup file of every save (the newest 20 of each device)</source>
        <translation>Garder un fichier de sauvegarde de chaque enregistrement (les 20 plus récents de chaque périphérique)</translation>
    </message>
    <message>
        <source>Folder: %1</source>
        <translation>Dossier : %1</translation>
    </message>
</context>
<context>
    <name>ViewContentShowDeviceInformation</name>
    <message>
        <source>Device name:</source>
        <translation>Nom du périphérique :</translation>
    </message>
    <message>
        <source>Serial number:</source>
        <translation>Numéro de série :</translation>
    </message>
    <message>
        <source>Hardware version:</source>
        <translation>Version matérielle :</translation>
    </message>
    <message>
        <source>Firmware version:</source>
        <translation>Version du micrologiciel :</translation>
    </message>
    <message>
        <source>OK</source>
        <translation>OK</translation>
    </message>
    <message>
        <source>ERROR</source>
        <translation>ERREUR</translation>
    </message>
    <message>
        <source>Could not retrieve the device serial number.</source>
        <translation>Impossible de lire le numéro de série du périphérique.</translation>
    </message>
    <message>
        <source>Could not retrieve the device hardware and firmware versions.</source>
        <translation>Impossible de lire la version matérielle et la version du micrologiciel du périphérique.</translation>
    </message>
    <message>
        <source>Error</source>
        <translation>Erreur</translation>
    </message>
    <message>
        <source>Main memory:</source>
        <translation>Mémoire principale :</translation>
    </message>
    <message>
        <source>Backup memory:</source>
        <translation>Mémoire de secours :</translation>
    </message>
    <message>
        <source>USB adapter latency timer:</source>
        <translation>Délai de latence de l&apos;adaptateur USB :</translation>
    </message>
    <message>
        <source>%1 ms</source>
        <translation>%1 ms</translation>
    </message>
    <message>
        <source>Saving is slow on this computer: each of the %1 page writes of a save waits %2 ms for the USB adapter, about %3 s in all. The device access rule %4, installed with the application, sets the latency timer to 1 ms; once it is installed, unplug the device and plug it in again.</source>
        <translation>L&apos;enregistrement est lent sur cet ordinateur : chacune des %1 écritures de page d&apos;un enregistrement attend %2 ms l&apos;adaptateur USB, environ %3 s en tout. La règle d&apos;accès à l&apos;appareil %4, installée avec l&apos;application, règle le délai de latence à 1 ms ; une fois qu&apos;elle est installée, débranchez l&apos;appareil puis rebranchez-le.</translation>
    </message>
</context>
<context>
    <name>ViewContentStartMenu</name>
    <message>
        <source>Open Pavisor</source>
        <translation>Ouvrir le Pavisor</translation>
    </message>
    <message>
        <source>Quit</source>
        <translation>Quitter</translation>
    </message>
    <message>
        <source>Got a new Pavisor?</source>
        <translation>Vous avez un nouveau Pavisor ?</translation>
    </message>
    <message>
        <source>then</source>
        <translation>puis</translation>
    </message>
    <message>
        <source>Open the Getting started tutorial</source>
        <translation>Ouvrez le tutoriel de prise en main</translation>
    </message>
    <message>
        <source>start initializing your Pavisor</source>
        <translation>commencez à initialiser votre Pavisor</translation>
    </message>
    <message>
        <source>Open backup file</source>
        <translation>Ouvrir un fichier de sauvegarde</translation>
    </message>
</context>
<context>
    <name>ViewContentWriteDevice</name>
    <message>
        <source>Device name:</source>
        <translation>Nom du périphérique :</translation>
    </message>
</context>
</TS>
