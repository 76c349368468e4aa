<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="de_DE">
<context>
    <name>Application</name>
    <message>
        <source>The main window could not be set up.</source>
        <translation>Das Hauptfenster konnte nicht eingerichtet werden.</translation>
    </message>
</context>
<context>
    <name>AuthorisationDialog</name>
    <message>
        <source>  Authorisation - Create User ID and Password</source>
        <translation>  Autorisierung - Benutzerkennung und Passwort anlegen</translation>
    </message>
    <message>
        <source>  Authorisation - Change User ID and Password</source>
        <translation>  Autorisierung - Benutzerkennung und Passwort ändern</translation>
    </message>
    <message>
        <source>  Authorisation - Enter User ID and Password</source>
        <translation>  Autorisierung - Benutzerkennung und Passwort eingeben</translation>
    </message>
    <message>
        <source>  Security Clearance</source>
        <translation>  Sicherheitsfreigabe</translation>
    </message>
    <message>
        <source>The stored User ID and Password are damaged and can no longer be checked.

Choose a new User ID and Password to protect Tarvex again.</source>
        <translation>Die gespeicherte Benutzerkennung und das Passwort sind beschädigt und können nicht mehr geprüft werden.

Wählen Sie eine neue Benutzerkennung und ein neues Passwort, um Tarvex wieder zu schützen.</translation>
    </message>
    <message>
        <source>The Password must be between 8 and 88 characters in length</source>
        <translation>Das Passwort muss zwischen 8 und 88 Zeichen lang sein</translation>
    </message>
    <message>
        <source>The UserID must be between 2 and 40 characters in length</source>
        <translation>Die Benutzerkennung muss zwischen 2 und 40 Zeichen lang sein</translation>
    </message>
    <message>
        <source>That is not the correct Password</source>
        <translation>Das ist nicht das richtige Passwort</translation>
    </message>
    <message>
        <source>That is not the correct UserID</source>
        <translation>Das ist nicht die richtige Benutzerkennung</translation>
    </message>
    <message>
        <source>Do you want to invalidate password protection ?</source>
        <translation>Möchten Sie den Passwortschutz aufheben?</translation>
    </message>
    <message>
        <source>  No Authorisation For Tarvex ?</source>
        <translation>  Keine Autorisierung für Tarvex?</translation>
    </message>
    <message>
        <source>The User ID and Password could not be removed.

Tarvex still asks for them at every start.</source>
        <translation>Die Benutzerkennung und das Passwort konnten nicht entfernt werden.

Tarvex fragt weiterhin bei jedem Start danach.</translation>
    </message>
    <message>
        <source>You must choose a UserID with your Password</source>
        <translation>Sie müssen zu Ihrem Passwort eine Benutzerkennung wählen</translation>
    </message>
    <message>
        <source>You must choose a Password with your UserID</source>
        <translation>Sie müssen zu Ihrer Benutzerkennung ein Passwort wählen</translation>
    </message>
    <message>
        <source>This User ID and Password cannot be stored together.

Please choose a different Password.</source>
        <translation>Diese Benutzerkennung und dieses Passwort können nicht zusammen gespeichert werden.

Bitte wählen Sie ein anderes Passwort.</translation>
    </message>
    <message>
        <source>  Confirm Password</source>
        <translation>  Passwort bestätigen</translation>
    </message>
    <message>
        <source>The new User ID and Password could not be stored.

Tarvex is not protected by a password now.</source>
        <translation>Die neue Benutzerkennung und das neue Passwort konnten nicht gespeichert werden.

Tarvex ist jetzt nicht durch ein Passwort geschützt.</translation>
    </message>
</context>
<context>
    <name>BrowseButton</name>
    <message>
        <source>All Files(*.*)|*.*|Text Files(*.txt)|*.txt|Word Document Files(*.doc)|*.doc|Zip Files(*.zip)|*.zip|Word Excel Worksheet(*.xls)|*.xls|</source>
        <translation>Alle Dateien(*.*)|*.*|Textdateien(*.txt)|*.txt|Word-Dokumente(*.doc)|*.doc|Zip-Dateien(*.zip)|*.zip|Excel-Arbeitsblätter(*.xls)|*.xls|</translation>
    </message>
    <message>
        <source>%1 files selected</source>
        <translation>%1 Dateien ausgewählt</translation>
    </message>
</context>
<context>
    <name>BuildVariant</name>
    <message>
        <source>Tarvex - Encrypt</source>
        <translation>Tarvex - Verschlüsseln</translation>
    </message>
    <message>
        <source>Tarvex - Encrypting: %s</source>
        <translation>Tarvex - Wird verschlüsselt: %s</translation>
    </message>
    <message>
        <source>Tarvex Encrypt - Authorisation</source>
        <translation>Tarvex Verschlüsseln - Autorisierung</translation>
    </message>
    <message>
        <source>Encryption Log Empty</source>
        <translation>Verschlüsselungsprotokoll leer</translation>
    </message>
    <message>
        <source>Save encryption details to log file</source>
        <translation>Verschlüsselungsprotokoll in Datei speichern</translation>
    </message>
    <message>
        <source> 1 File Selected for Encryption</source>
        <translation> 1 Datei zum Verschlüsseln ausgewählt</translation>
    </message>
    <message>
        <source> No Files Selected for Encryption</source>
        <translation> Keine Dateien zum Verschlüsseln ausgewählt</translation>
    </message>
    <message>
        <source> %d Files Selected for Encryption</source>
        <translation> %d Dateien zum Verschlüsseln ausgewählt</translation>
    </message>
    <message>
        <source>Select file(s) to Encrypt</source>
        <translation>Zu verschlüsselnde Datei(en) auswählen</translation>
    </message>
    <message>
        <source>Still Encrypting - Cannot Close</source>
        <translation>Verschlüsselung läuft noch - Schließen nicht möglich</translation>
    </message>
    <message>
        <source>Still Encrypting Previous Selection - Cannot Start</source>
        <translation>Vorige Auswahl wird noch verschlüsselt - Start nicht möglich</translation>
    </message>
    <message>
        <source>Encrypt All Subdirectories ?</source>
        <translation>Alle Unterordner verschlüsseln?</translation>
    </message>
    <message>
        <source>Your encryption selection has been cancelled for safety reasons</source>
        <translation>Ihre Auswahl zum Verschlüsseln wurde aus Sicherheitsgründen verworfen</translation>
    </message>
    <message>
        <source>This is the Windows folder.

Permission to encrypt it is denied.</source>
        <translation>Dies ist der Windows-Ordner.

Er darf nicht verschlüsselt werden.</translation>
    </message>
    <message>
        <source>Tarvex is stored in this folder.

Permission to encrypt it is denied.</source>
        <translation>In diesem Ordner ist Tarvex gespeichert.

Er darf nicht verschlüsselt werden.</translation>
    </message>
    <message>
        <source>This is the root on the system disk.

Permission to encrypt it is denied</source>
        <translation>Dies ist das Wurzelverzeichnis des Systemdatenträgers.

Es darf nicht verschlüsselt werden</translation>
    </message>
    <message>
        <source>You have already encrypted this selection.
Encrypt again ?</source>
        <translation>Sie haben diese Auswahl bereits verschlüsselt.
Erneut verschlüsseln?</translation>
    </message>
    <message>
        <source>These files could not be encrypted:</source>
        <translation>Diese Dateien konnten nicht verschlüsselt werden:</translation>
    </message>
    <message>
        <source>Tarvex is still encrypting a selection.
Please try again when it has finished.</source>
        <translation>Tarvex verschlüsselt noch eine Auswahl.
Bitte versuchen Sie es erneut, wenn dies abgeschlossen ist.</translation>
    </message>
    <message>
        <source>An encryption was cut short and left this file partly encrypted:

%s

Repair it now?

The repair needs the key of the interrupted run, and BlowFish Only set as it was for that run. A wrong key is not always detected: the repair would then spoil the file.

No leaves everything as it is; you will be asked again at the next start.</source>
        <translation>Eine Verschlüsselung wurde abgebrochen und hat diese Datei teilweise verschlüsselt hinterlassen:

%s

Jetzt reparieren?

Die Reparatur braucht den Schlüssel des unterbrochenen Laufs und Nur BlowFish so eingestellt wie bei diesem Lauf. Ein falscher Schlüssel wird nicht immer erkannt: Die Reparatur würde die Datei dann verderben.

Nein lässt alles, wie es ist; Sie werden beim nächsten Start erneut gefragt.</translation>
    </message>
    <message>
        <source>How should %s end up?

Yes: wholly encrypted, as the interrupted run would have left it.
No: wholly as it was before that run.
Cancel: leave it as it is for now.</source>
        <translation>Wie soll %s am Ende aussehen?

Ja: ganz verschlüsselt, wie der unterbrochene Lauf die Datei hinterlassen hätte.
Nein: ganz so wie vor diesem Lauf.
Abbrechen: vorerst so lassen, wie sie jetzt ist.</translation>
    </message>
    <message>
        <source>%s has been repaired: it is now wholly encrypted.</source>
        <translation>%s wurde repariert und ist jetzt ganz verschlüsselt.</translation>
    </message>
    <message>
        <source>%s has been repaired: it is again as it was before the encryption.</source>
        <translation>%s wurde repariert und ist wieder so wie vor der Verschlüsselung.</translation>
    </message>
    <message>
        <source>Tarvex Encryption</source>
        <translation>Tarvex-Verschlüsselung</translation>
    </message>
    <message>
        <source>Tarvex - Decrypt</source>
        <translation>Tarvex - Entschlüsseln</translation>
    </message>
    <message>
        <source>Tarvex - Decrypting: %s</source>
        <translation>Tarvex - Wird entschlüsselt: %s</translation>
    </message>
    <message>
        <source>Tarvex Decrypt - Authorisation</source>
        <translation>Tarvex Entschlüsseln - Autorisierung</translation>
    </message>
    <message>
        <source>Decryption Log Empty</source>
        <translation>Entschlüsselungsprotokoll leer</translation>
    </message>
    <message>
        <source>Save decryption details to log file</source>
        <translation>Entschlüsselungsprotokoll in Datei speichern</translation>
    </message>
    <message>
        <source> 1 File Selected for Decryption</source>
        <translation> 1 Datei zum Entschlüsseln ausgewählt</translation>
    </message>
    <message>
        <source> No Files Selected for Decryption</source>
        <translation> Keine Dateien zum Entschlüsseln ausgewählt</translation>
    </message>
    <message>
        <source> %d Files Selected for Decryption</source>
        <translation> %d Dateien zum Entschlüsseln ausgewählt</translation>
    </message>
    <message>
        <source>Select file(s) to Decrypt</source>
        <translation>Zu entschlüsselnde Datei(en) auswählen</translation>
    </message>
    <message>
        <source>Still Decrypting - Cannot Close</source>
        <translation>Entschlüsselung läuft noch - Schließen nicht möglich</translation>
    </message>
    <message>
        <source>Still Decrypting Previous Selection - Cannot Start</source>
        <translation>Vorige Auswahl wird noch entschlüsselt - Start nicht möglich</translation>
    </message>
    <message>
        <source>Decrypt All Subdirectories ?</source>
        <translation>Alle Unterordner entschlüsseln?</translation>
    </message>
    <message>
        <source>Your decryption selection has been cancelled for safety reasons</source>
        <translation>Ihre Auswahl zum Entschlüsseln wurde aus Sicherheitsgründen verworfen</translation>
    </message>
    <message>
        <source>This is the Windows folder.

Permission to decrypt it is denied.</source>
        <translation>Dies ist der Windows-Ordner.

Er darf nicht entschlüsselt werden.</translation>
    </message>
    <message>
        <source>Tarvex is stored in this folder.

Permission to decrypt it is denied.</source>
        <translation>In diesem Ordner ist Tarvex gespeichert.

Er darf nicht entschlüsselt werden.</translation>
    </message>
    <message>
        <source>This is the root on the system disk.

Permission to decrypt it is denied</source>
        <translation>Dies ist das Wurzelverzeichnis des Systemdatenträgers.

Es darf nicht entschlüsselt werden</translation>
    </message>
    <message>
        <source>You have already decrypted this selection.
Decrypt again ?</source>
        <translation>Sie haben diese Auswahl bereits entschlüsselt.
Erneut entschlüsseln?</translation>
    </message>
    <message>
        <source>These files could not be decrypted:</source>
        <translation>Diese Dateien konnten nicht entschlüsselt werden:</translation>
    </message>
    <message>
        <source>Tarvex is still decrypting a selection.
Please try again when it has finished.</source>
        <translation>Tarvex entschlüsselt noch eine Auswahl.
Bitte versuchen Sie es erneut, wenn dies abgeschlossen ist.</translation>
    </message>
    <message>
        <source>A decryption was cut short and left this file partly decrypted:

%s

Repair it now? The repair finishes the decryption.

The repair needs the key of the interrupted run, and BlowFish Only set as it was for that run. A wrong key is not always detected: the repair would then spoil the file.

No leaves everything as it is; you will be asked again at the next start.</source>
        <translation>Eine Entschlüsselung wurde abgebrochen und hat diese Datei teilweise entschlüsselt hinterlassen:

%s

Jetzt reparieren? Die Reparatur schließt die Entschlüsselung ab.

Die Reparatur braucht den Schlüssel des unterbrochenen Laufs und Nur BlowFish so eingestellt wie bei diesem Lauf. Ein falscher Schlüssel wird nicht immer erkannt: Die Reparatur würde die Datei dann verderben.

Nein lässt alles, wie es ist; Sie werden beim nächsten Start erneut gefragt.</translation>
    </message>
    <message>
        <source>%s has been repaired: it is now wholly decrypted.</source>
        <translation>%s wurde repariert und ist jetzt ganz entschlüsselt.</translation>
    </message>
    <message>
        <source>Tarvex Decryption</source>
        <translation>Tarvex-Entschlüsselung</translation>
    </message>
</context>
<context>
    <name>ConfirmDialog</name>
    <message>
        <source>Padlock</source>
        <translation>Vorhängeschloss</translation>
    </message>
</context>
<context>
    <name>DialogTemplate</name>
    <message>
        <source>&amp;Encrypt</source>
        <translation>&amp;Verschlüsseln</translation>
    </message>
    <message>
        <source>Encrypt: </source>
        <translation>Verschlüsseln: </translation>
    </message>
    <message>
        <source> Files Selected For Encryption</source>
        <translation> Zum Verschlüsseln ausgewählte Dateien</translation>
    </message>
    <message>
        <source>Encrypting...</source>
        <translation>Wird verschlüsselt...</translation>
    </message>
    <message>
        <source>                               Encryption Log</source>
        <translation>                               Verschlüsselungsprotokoll</translation>
    </message>
    <message>
        <source>&amp;BlowFishOnly</source>
        <translation>&amp;Nur BlowFish</translation>
    </message>
    <message>
        <source>Use Password As Tarvex Key</source>
        <translation>Passwort als Tarvex-Schlüssel verwenden</translation>
    </message>
    <message>
        <source>&amp;Decrypt</source>
        <translation>&amp;Entschlüsseln</translation>
    </message>
    <message>
        <source>Decrypt: </source>
        <translation>Entschlüsseln: </translation>
    </message>
    <message>
        <source> Files Selected For Decryption</source>
        <translation> Zum Entschlüsseln ausgewählte Dateien</translation>
    </message>
    <message>
        <source>Decrypting...</source>
        <translation>Wird entschlüsselt...</translation>
    </message>
    <message>
        <source>                                   Decryption Log</source>
        <translation>                                   Entschlüsselungsprotokoll</translation>
    </message>
    <message>
        <source>&amp;BlowFish Only</source>
        <translation>&amp;Nur BlowFish</translation>
    </message>
    <message>
        <source>Use Password as Tarvex Key</source>
        <translation>Passwort als Tarvex-Schlüssel verwenden</translation>
    </message>
    <message>
        <source>&amp;OK</source>
        <translation>&amp;OK</translation>
    </message>
    <message>
        <source>Confirm Key</source>
        <translation>Schlüssel bestätigen</translation>
    </message>
    <message>
        <source>Type it once more to confirm:</source>
        <translation>Zur Bestätigung noch einmal eingeben:</translation>
    </message>
    <message>
        <source>OK</source>
        <translation>OK</translation>
    </message>
    <message>
        <source>Cancel</source>
        <translation>Abbrechen</translation>
    </message>
    <message>
        <source>Save To &amp;File</source>
        <translation>&amp;Speichern</translation>
    </message>
    <message>
        <source>&amp;Delete All</source>
        <translation>&amp;Alle löschen</translation>
    </message>
    <message>
        <source>Key For Log Encryption</source>
        <translation>Schlüssel für das Protokoll</translation>
    </message>
    <message>
        <source>&amp;Cancel</source>
        <translation>&amp;Abbrechen</translation>
    </message>
    <message>
        <source>&amp;Yes</source>
        <translation>&amp;Ja</translation>
    </message>
    <message>
        <source>Yes To &amp;All</source>
        <translation>Ja für a&amp;lle</translation>
    </message>
    <message>
        <source>&amp;No</source>
        <translation>&amp;Nein</translation>
    </message>
    <message>
        <source>  Authorisation</source>
        <translation>  Autorisierung</translation>
    </message>
    <message>
        <source>User ID:</source>
        <translation>Kennung:</translation>
    </message>
    <message>
        <source>Password:</source>
        <translation>Passwort:</translation>
    </message>
    <message>
        <source>Current Directory:</source>
        <translation>Aktueller Ordner:</translation>
    </message>
    <message>
        <source>...</source>
        <translation>...</translation>
    </message>
    <message>
        <source>To:</source>
        <translation>Nach:</translation>
    </message>
    <message>
        <source>Key:</source>
        <translation>Schlüssel:</translation>
    </message>
    <message>
        <source>Options</source>
        <translation>Optionen</translation>
    </message>
    <message>
        <source>Co&amp;nfirm Overwrite</source>
        <translation>Überschreiben &amp;fragen</translation>
    </message>
    <message>
        <source>Blow&amp;Fish Only</source>
        <translation>&amp;Nur BlowFish</translation>
    </message>
    <message>
        <source>&amp;Save Options</source>
        <translation>&amp;Merken</translation>
    </message>
    <message>
        <source>&amp;Close</source>
        <translation>&amp;Schließen</translation>
    </message>
    <message>
        <source>&amp;Browse...</source>
        <translation>&amp;Auswählen...</translation>
    </message>
    <message>
        <source>&amp;Help</source>
        <translation>&amp;Hilfe</translation>
    </message>
</context>
<context>
    <name>EncryptDialog</name>
    <message>
        <source>Show the selected files</source>
        <translation>Die ausgewählten Dateien zeigen</translation>
    </message>
    <message>
        <source>Progress of the current file</source>
        <translation>Fortschritt der aktuellen Datei</translation>
    </message>
    <message>
        <source>Login Password !</source>
        <translation>Anmeldepasswort!</translation>
    </message>
    <message>
        <source>CAPS LOCK ON !</source>
        <translation>FESTSTELLTASTE AN!</translation>
    </message>
    <message>
        <source>Padlock</source>
        <translation>Vorhängeschloss</translation>
    </message>
    <message>
        <source>A padlock that closes while files are encrypted</source>
        <translation>Ein Vorhängeschloss, das sich schließt, während Dateien verschlüsselt werden</translation>
    </message>
    <message>
        <source>A padlock that opens while files are decrypted</source>
        <translation>Ein Vorhängeschloss, das sich öffnet, während Dateien entschlüsselt werden</translation>
    </message>
    <message>
        <source>&amp;View Log...</source>
        <translation>&amp;Protokoll anzeigen...</translation>
    </message>
    <message>
        <source>A&amp;uthorisation...</source>
        <translation>A&amp;utorisierung...</translation>
    </message>
    <message>
        <source>&amp;Batch File...</source>
        <translation>&amp;Stapeldatei...</translation>
    </message>
    <message>
        <source>&amp;About...</source>
        <translation>Ü&amp;ber...</translation>
    </message>
    <message>
        <source>Open Tarvex Batch File</source>
        <translation>Tarvex-Stapeldatei öffnen</translation>
    </message>
    <message>
        <source>Tarvex Batch Files (*.tvx)|*.tvx</source>
        <translation>Tarvex-Stapeldateien (*.tvx)|*.tvx</translation>
    </message>
    <message>
        <source>Could not open </source>
        <translation>Konnte nicht geöffnet werden: </translation>
    </message>
    <message>
        <source>I/O Error</source>
        <translation>Ein-/Ausgabefehler</translation>
    </message>
</context>
<context>
    <name>FolderExpansion</name>
    <message>
        <source>  Too Many Subdirectories</source>
        <translation>  Zu viele Unterordner</translation>
    </message>
</context>
<context>
    <name>HelpViewer</name>
    <message>
        <source>The help file cannot be opened:
%1</source>
        <translation>Die Hilfedatei kann nicht geöffnet werden:
%1</translation>
    </message>
    <message>
        <source>Help</source>
        <translation>Hilfe</translation>
    </message>
</context>
<context>
    <name>KeyBytes</name>
    <message>
        <source>You must enter a key that is at least 8 characters in length but no more than 88 characters</source>
        <translation>Der Schlüssel muss mindestens 8 und höchstens 88 Zeichen lang sein</translation>
    </message>
</context>
<context>
    <name>LogDialog</name>
    <message>
        <source>All Files(*.*)|*.*|Text Files(*.txt)|*.txt|Log Files(*.log)|*.log|Word Document Files(*.doc)|*.doc|Zip Files(*.zip)|*.zip|Word Excel Worksheet(*.xls)|*.xls|</source>
        <translation>Alle Dateien(*.*)|*.*|Textdateien(*.txt)|*.txt|Protokolldateien(*.log)|*.log|Word-Dokumente(*.doc)|*.doc|Zip-Dateien(*.zip)|*.zip|Excel-Arbeitsblätter(*.xls)|*.xls|</translation>
    </message>
    <message>
        <source>  Delete Log Entry</source>
        <translation>  Protokolleintrag löschen</translation>
    </message>
    <message>
        <source>  Delete All Log Entries</source>
        <translation>  Alle Protokolleinträge löschen</translation>
    </message>
    <message>
        <source>Are you sure you want to continue ?</source>
        <translation>Möchten Sie wirklich fortfahren?</translation>
    </message>
    <message>
        <source>There are no entries in the log</source>
        <translation>Das Protokoll enthält keine Einträge</translation>
    </message>
    <message>
        <source>Could not open log file</source>
        <translation>Die Protokolldatei konnte nicht geöffnet werden</translation>
    </message>
    <message>
        <source>I/O Error</source>
        <translation>Ein-/Ausgabefehler</translation>
    </message>
    <message>
        <source>Could not write the log file; nothing was saved</source>
        <translation>Die Protokolldatei konnte nicht geschrieben werden; nichts wurde gespeichert</translation>
    </message>
</context>
<context>
    <name>LogPasswordDialog</name>
    <message>
        <source>That is not a valid password.
The password must be between 8 and 88 characters long.</source>
        <translation>Das ist kein gültiges Passwort.
Das Passwort muss zwischen 8 und 88 Zeichen lang sein.</translation>
    </message>
    <message>
        <source>Invalid Password</source>
        <translation>Ungültiges Passwort</translation>
    </message>
</context>
<context>
    <name>OverwriteDecision</name>
    <message>
        <source>an executable file</source>
        <translation>ein ausführbares Programm</translation>
    </message>
    <message>
        <source>a batch file</source>
        <translation>eine Stapeldatei</translation>
    </message>
    <message>
        <source>an application extension</source>
        <translation>eine Programmerweiterung</translation>
    </message>
    <message>
        <source>The file %s is %s. Do you want to overwrite it ?</source>
        <translation>Die Datei %s ist %s. Möchten Sie sie überschreiben?</translation>
    </message>
    <message>
        <source>The file %s already exists. Do you want to overwrite it ?</source>
        <translation>Die Datei %s existiert bereits. Möchten Sie sie überschreiben?</translation>
    </message>
</context>
<context>
    <name>PassWordDialog</name>
    <message>
        <source>Key does not match original entry</source>
        <translation>Der Schlüssel stimmt nicht mit der ersten Eingabe überein</translation>
    </message>
    <message>
        <source>Security Warning</source>
        <translation>Sicherheitswarnung</translation>
    </message>
</context>
<context>
    <name>ProcessFiles</name>
    <message>
        <source>The recovery list cannot be written in the current folder
%s

Should the run be cut short, nothing would tell which files it left half done.

Go on without it ?</source>
        <translation>Die Wiederherstellungsliste kann im aktuellen Ordner nicht geschrieben werden:
%s

Würde der Lauf unterbrochen, könnte nichts sagen, welche Dateien er halb bearbeitet zurückgelassen hat.

Ohne sie fortfahren?</translation>
    </message>
    <message>
        <source>the file cannot be read</source>
        <translation>die Datei kann nicht gelesen werden</translation>
    </message>
    <message>
        <source>%s cannot be written</source>
        <translation>%s kann nicht geschrieben werden</translation>
    </message>
    <message>
        <source>reading or writing failed part way (is the disk full?)</source>
        <translation>Lesen oder Schreiben brach mittendrin ab (ist der Datenträger voll?)</translation>
    </message>
    <message>
        <source>left untouched: no journal can be written in the current folder %s, and without one a run cut short could not be repaired</source>
        <translation>unverändert gelassen: im aktuellen Ordner %s kann kein Journal geschrieben werden, und ohne Journal ließe sich ein unterbrochener Lauf nicht reparieren</translation>
    </message>
    <message>
        <source>the engine ran short of memory or system resources</source>
        <translation>dem Verschlüsselungskern fehlten Speicher oder Systemmittel</translation>
    </message>
</context>
<context>
    <name>RepairOffer</name>
    <message>
        <source>%1 cannot be repaired: it cannot be opened, or it is no regular file.</source>
        <translation>%1 kann nicht repariert werden: Die Datei lässt sich nicht öffnen oder ist keine gewöhnliche Datei.</translation>
    </message>
    <message>
        <source>%1 cannot be repaired: reading it failed.</source>
        <translation>%1 kann nicht repariert werden: Das Lesen ist fehlgeschlagen.</translation>
    </message>
    <message>
        <source>%1 cannot be repaired: writing it failed (is the disk full, or its folder read-only?). Nothing was changed.</source>
        <translation>%1 kann nicht repariert werden: Das Schreiben ist fehlgeschlagen (ist der Datenträger voll oder ihr Ordner schreibgeschützt?). Nichts wurde geändert.</translation>
    </message>
    <message>
        <source>%1 cannot be repaired: the copy the run kept of the part it was rewriting
%2
cannot be read. Nothing was changed.</source>
        <translation>%1 kann nicht repariert werden: Die Kopie, die der Lauf von dem gerade neu geschriebenen Teil aufbewahrt hat,
%2
kann nicht gelesen werden. Nichts wurde geändert.</translation>
    </message>
    <message>
        <source>%1 cannot be repaired: its journal does not fit the file&apos;s size, so the file has been changed since the run. Nothing was changed.</source>
        <translation>%1 kann nicht repariert werden: Ihr Journal passt nicht zur Größe der Datei, sie wurde also seit dem Lauf verändert. Nichts wurde geändert.</translation>
    </message>
    <message>
        <source>%1 has not been repaired: the key or BlowFish Only is not that of the interrupted run. Nothing was changed.</source>
        <translation>%1 wurde nicht repariert: Der Schlüssel oder Nur BlowFish entspricht nicht dem unterbrochenen Lauf. Nichts wurde geändert.</translation>
    </message>
    <message>
        <source>%1 has not been repaired: the run that rewrites it is still going. Nothing was changed.</source>
        <translation>%1 wurde nicht repariert: Der Lauf, der sie neu schreibt, ist noch im Gang. Nichts wurde geändert.</translation>
    </message>
    <message>
        <source>%1 has not been repaired: it has other names (hard links), which the repair would leave damaged. Remove them and repair again. Nothing was changed.</source>
        <translation>%1 wurde nicht repariert: Die Datei hat weitere Namen (harte Links), die nach der Reparatur beschädigt blieben. Entfernen Sie diese und reparieren Sie erneut. Nichts wurde geändert.</translation>
    </message>
    <message>
        <source>%1 cannot be repaired exactly: its journal and the record beside it do not tell how far the run got. Nothing was changed.</source>
        <translation>%1 kann nicht genau repariert werden: Ihr Journal und die Aufzeichnung daneben sagen nicht, wie weit der Lauf gekommen ist. Nichts wurde geändert.</translation>
    </message>
    <message>
        <source>%1 has not been repaired: it, or the record beside its journal, belongs to another user, who may have put the journal there. Nothing was changed.</source>
        <translation>%1 wurde nicht repariert: Die Datei oder die Aufzeichnung neben ihrem Journal gehört einem anderen Benutzer, der das Journal dort abgelegt haben könnte. Nichts wurde geändert.</translation>
    </message>
    <message>
        <source>... and %1 more, all named in the list</source>
        <translation>... und %1 weitere, alle in der Liste genannt</translation>
    </message>
    <message>
        <source>A run of several files was cut short. Its recovery list
%1
names these files:

%2

None of them was left partly done in place: a file the run rewrote in place is either finished or untouched, though which of them were finished cannot be told. A file the run wrote to another name may be incomplete: make it again from its source.

Delete the recovery list now?
No keeps it, and you will be told again at the next start.</source>
        <translation>Ein Lauf über mehrere Dateien wurde abgebrochen. Seine Wiederherstellungsliste
%1
nennt diese Dateien:

%2

Keine davon wurde an Ort und Stelle halb bearbeitet zurückgelassen: Eine Datei, die der Lauf an Ort und Stelle neu schrieb, ist entweder fertig oder unberührt, wobei sich nicht sagen lässt, welche fertig wurden. Eine Datei, die der Lauf unter einem anderen Namen schrieb, kann unvollständig sein: Erstellen Sie sie erneut aus ihrer Quelle.

Die Wiederherstellungsliste jetzt löschen?
Nein behält sie, und Sie werden beim nächsten Start erneut darauf hingewiesen.</translation>
    </message>
    <message>
        <source>Key Of The Interrupted Run</source>
        <translation>Schlüssel des unterbrochenen Laufs</translation>
    </message>
    <message>
        <source>Tarvex - Repairing: %1</source>
        <translation>Tarvex - Wird repariert: %1</translation>
    </message>
    <message>
        <source>

Its journal stays, so that it can be repaired later.</source>
        <translation>

Ihr Journal bleibt erhalten, damit sie später repariert werden kann.</translation>
    </message>
    <message>
        <source>

No usable copy was left of the part the run was rewriting when it stopped, so the repair went by the journal alone: one 64 KiB stretch of the file, where the run stopped, may be wrong.</source>
        <translation>

Von dem Teil, den der Lauf beim Abbruch gerade neu schrieb, blieb keine brauchbare Kopie, daher richtete sich die Reparatur allein nach dem Journal: Ein Abschnitt von 64 KiB der Datei, dort wo der Lauf stehen blieb, kann falsch sein.</translation>
    </message>
    <message>
        <source>A run of several files was cut short, but its recovery list
%1
cannot be read. It is left as it is.</source>
        <translation>Ein Lauf über mehrere Dateien wurde abgebrochen, aber seine Wiederherstellungsliste
%1
kann nicht gelesen werden. Sie bleibt, wie sie ist.</translation>
    </message>
    <message>
        <source>The recovery list
%1
cannot be deleted (is its folder read-only?). It is left as it is.</source>
        <translation>Die Wiederherstellungsliste
%1
kann nicht gelöscht werden (ist ihr Ordner schreibgeschützt?). Sie bleibt, wie sie ist.</translation>
    </message>
</context>
<context>
    <name>RunStart</name>
    <message>
        <source>Warning</source>
        <translation>Warnung</translation>
    </message>
    <message>
        <source>You must select a file to encrypt</source>
        <translation>Sie müssen eine Datei zum Verschlüsseln auswählen</translation>
    </message>
    <message>
        <source>That file does not exist - please select another</source>
        <translation>Diese Datei existiert nicht - bitte wählen Sie eine andere</translation>
    </message>
</context>
</TS>
