#!/usr/bin/env python3
"""Writes the shipped language files resources/Languages/*.lang.

The launcher reads them with profile-string semantics: Windows-1252 text,
CR LF line ends, "Key=Value" lines, "//" lines are comments. The texts live
here so that the four files stay in step; run this script after editing them
and commit both the script and its output.

    python3 scripts/assets/make_languages.py [output-folder]
"""

import os
import sys

LAST_UPDATE_DATE = "2026-12-08"
VERSION = "v1.1.2"

# Caption keys that no control reads; the translations leave them out.
UNREAD_CAPTIONS = ("gbMods", "gbVolume", "SndRec", "btnClose", "laPrivileges")

# [Captions], in groups. The English table fixes the key set and the order.
EN_CAPTIONS = [
    ("Main window: pages", [
        ("taZuruveZevoruvi", "ZuruveZevoruvi"),
        ("taSettings", "Settings"),
        ("taHelp", "Help"),
        ("taAbout", "About"),
        ("taBookmarks", "Bookmarks"),
        ("taConsole", "Console"),
    ]),
    ("Main window: demo page", [
        ("gbConfig", "Run Mode"),
        ("gbFiles", "Files in %s"),
        ("gbParams", "Parameters"),
        ("gbWinSettings", "Window Settings"),
        ("gbGameplay", "Gameplay"),
        ("gbAdditional", "Additional"),
        ("btnRun", "Run"),
        ("btnScan", "Scan && Import"),
        ("btnRefresh", "Refresh"),
        ("cbWinMode", "Windowed Mode"),
        ("cbRenderStats", "Generate Stats"),
        ("cbCaptureSound", "Capture Sound"),
        ("laPlayDemoUserCam", "Play Demo with User Camera"),
        ("laPlayDemoRecordedCam", "Play Demo with Recorded Camera"),
        ("laPlayDemoRecordCam", "Play Demo, record Camera"),
        ("laRenderVideo", "Render to Video"),
        ("laCaptureSound", "Capture Sound to WAV"),
        ("laTimeDemo", "Time Demo"),
        ("laSingleplayer", "Launch a Singleplayer game"),
        ("laDemo", "Demo:"),
        ("laCamera", "Camera:"),
        ("laPresets", "Presets:"),
        ("laCameraName", "Camera Name:"),
        ("laVideoName", "Video Name:"),
        ("laWidth", "Width:"),
        ("laHeight", "Height:"),
        ("laXYPos", "X/Y Position:"),
        ("laFPS", "FPS:"),
        ("laFOV", "FOV:"),
        ("menuMods", "Mods"),
        ("menuNewProject", "New Project"),
        ("menuRenameProject", "Rename Project"),
        ("menuMoveFiles", "Move files to this project"),
    ]),
    ("Main window: settings page", [
        ("btnOK", "Ok"),
        ("btnGeneral", "General"),
        ("btnSoundCapture", "Sound Capture"),
        ("btnProfiles", "Profiles"),
        ("btnServerSettings", "Servers"),
        ("gbSelfCheck", "Self-Check"),
        ("gbGeneral", "Paths"),
        ("laBF2Dir", "Battlefield 2 Directory:"),
        ("laMyDocs", "My Documents:"),
        ("gbAssociate", "Associations"),
        ("cbAssociateFiles", "Associate demo files with Quorvane"),
        ("gbLocalization", "Localization"),
        ("laLanguage", "Language:"),
    ]),
    ("Main window: sound capture settings", [
        ("gbSoundCapture", "Sound Capture"),
        ("laSource", "Source:"),
        ("laDefSource", "Default Source: (QVR will revert to this source when shut down)"),
        ("laRecVolume", "Recording Volume:"),
        ("laMax", "Max"),
        ("laMin", "Min"),
        ("gbOutput", "Output"),
        ("rbRenderToProject", "Save to the project folder"),
        ("rbRenderToOutput", "Save to the output folder:"),
    ]),
    ("Main window: profile settings", [
        ("gbProfile", "Profile"),
        ("laAdvSettings", "Graphics && Demo Settings"),
        ("laDemoQuality", "Demo Quality:"),
        ("laTerrainQuality", "Terrain Quality:"),
        ("laGeometryQuality", "Geometry Quality:"),
        ("laLightQuality", "Lighting Quality:"),
        ("laDynLightQuality", "Dynamic Lighting:"),
        ("laDynShadowQuality", "Dynamic Shadows:"),
        ("laEffectsQuality", "Effects Quality:"),
        ("laTextureQuality", "Texture Quality:"),
        ("laTxtFilterQuality", "Texture Filtering:"),
        ("laAntiAlias", "Anti-Aliasing:"),
        ("laViewDistance", "View Distance:"),
    ]),
    ("Main window: server settings", [
        ("gbServer", "Server Settings"),
        ("laServers", "Servers:"),
        ("laHost", "Host:"),
        ("laPort", "Port:"),
        ("laPassword", "Password:"),
        ("cbReadChat", "Read chat and process commands"),
        ("laRequiresScript", "(Requires BF2CC admin scripts installed on server)"),
        ("menuAddPlayer", "Add Player..."),
        ("menuRemovePlayer", "Remove Player"),
    ]),
    ("Main window: bookmarks page", [
        ("gbProfileBookmarks", "Selected Profile"),
        ("gbBookmarks", "Bookmarks"),
        ("gbDownloadProgress", "Download Progress"),
        ("btnDownload", "Download"),
        ("btnAbort", "Abort"),
    ]),
    ("Scan and Import dialog", [
        ("laDescription", "This scans your BF2 folder in My Documents"),
        ("btnPureScan", "Scan"),
        ("btnImport", "Import Selected"),
        ("gbOptions", "Options"),
        ("cbDelete", "Delete original file after importing"),
        ("cbOverwrite", "Don't overwrite if file already exists"),
    ]),
    ("Move files dialog", [
        ("frmMoveFiles", "Move Files"),
        ("laMoveFiles", "Move files to folder [%s]"),
        ("btnMoveFiles", "Move files"),
    ]),
    ("Add player dialog (gbPrivileges also captions the server settings group)", [
        ("frmAddUser", "Add Player"),
        ("laPlayerName", "Player name:"),
        ("gbPrivileges", "Privileges"),
        ("btnAdd", "Add"),
    ]),
    ("All dialogs", [
        ("btnCancel", "Cancel"),
    ]),
    ("Not shown by any control at present", [
        ("gbMods", "Mods"),
        ("gbVolume", "Volume"),
        ("SndRec", "Sound Recording"),
        ("btnClose", "Close"),
        ("laPrivileges", "Privileges:"),
    ]),
]

EN_STRINGS = [
    ("MyDocs", "My Documents"),
    ("Found", "Found"),
    ("NotFound", "Not Found"),
    ("Params1", "Parameters are not valid, please go through them"),
    ("Params2", "and enter valid entries before running BF2 again."),
    ("Unknown", "Unknown"),
    ("BF2Version", "BF2 Version"),
    ("CamAndDemoFiles", "Please select a Demo file and a Camera file before running BF2 - Try again"),
    ("SelectDemo", "Please select a Demo file before running BF2 - Try again"),
    ("BFNotFound", "Battlefield 2 was not found - check your settings"),
    ("NoSettings", "No settings were found, please configure the program before you continue"),
    ("NameCamera", "Please enter a name for your new camera"),
    ("NameVideo", "Please enter a name for your new video."),
    ("Filename", "Name"),
    ("Filetype", "Filetype"),
    ("Scan", "Scan"),
    ("Scanning", "Scanning..."),
    ("Demo", "Demo"),
    ("Camera", "Camera"),
    ("FilesFound", "Files found"),
    ("NoFilesFound", "No files found"),
    ("NewPreset", "New Preset"),
    ("NamePreset", "Enter the name of your new preset:"),
    ("NoScan", "Scanning is unavailable until BF2 is located - Check your settings"),
    ("SpecifyBFDir", "Please specify the Battlefield 2 directory:"),
    ("TimeDemo1", 'Time Demo: Once the demo has finished playing, the recorded demo will "freeze" and wait for your input.'),
    ("TimeDemo2", "Unless you're running in windowed mode, you will need to press ALT+TAB to come back to Windows. "
                  'You will then be able to see a little window called "Time Demo Report", which contains useful '
                  "information about your demo."),
    ("TimeDemo3", "It's safe to click away this window as it will close down your BF2 and save the report to a file "
                  'called "timedemo_report.txt" in your mods\\bf2 folder. Do you wish to continue?'),
    ("RenderVideo1", "Render Video: Battlefield 2 will generate a complete AVI file based on your demo and recorded "
                     "camera movements. This is a process that can take a very long time to complete, depending on "
                     "the length of your demo."),
    ("RenderVideo2", "Once the map has loaded, you will need to ALT+TAB back to Windows (Unless you're running in "
                     "windowed mode) and select an encoder from a small dialog window that will appear - DivX or "
                     "Xvid are strongly recommended. Once chosen, you can enter the game again and BF2 will commence "
                     "the rendering process."),
    ("RenderVideo3", "Remember, if you need to stop the rendering but still keep what the game has rendered up to "
                     "that point; press [R] on your keyboard. Do you wish to continue?"),
    ("NewProject", "New Project"),
    ("RenameProject", "Rename Project"),
    ("ProjectName", "Project Name:"),
    ("ProjectNameInvalid", "Project name is not valid"),
    ("Unassigned", "Unassigned"),
    ("Off", "Off"),
    ("Low", "Low"),
    ("Medium", "Medium"),
    ("High", "High"),
    ("UltraHigh", "Ultra-High"),
    ("demoDownloadFormat", "Downloading %s MB of %s MB"),
    ("demoFileName", "Filename: %s"),
    ("demoDownloadComp", "Download Complete!"),
    ("demoDownloadCancel", "Download Aborted"),
    ("spMapError", "[%s] is not a valid [%s] map, please choose again."),
    ("bmServer", "Server"),
    ("bmMap", "Map"),
    ("bmDate", "Date"),
    ("bmURL", "URL"),
    ("SndOutputDir", "Choose the Output directory"),
    ("NewServer", "New Server Preset"),
    ("NameServer", "Enter the name of your new server preset:"),
]

# The game's stock levels; their display names are not translated.
MAPS = [
    ("sharqi_peninsula", "Sharqi Peninsula"),
    ("zatar_wetlands", "Zatar Wetlands"),
    ("songhua_stalemate", "Songhua Stalemate"),
    ("daqing_oilfields", "Daqing Oilfields"),
    ("dragon_valley", "Dragon Valley"),
    ("gulf_of_oman", "Gulf of Oman"),
    ("fushe_pass", "FuShe Pass"),
    ("mashtuur_city", "Mashtuur City"),
    ("dalian_plant", "Dalian Plant"),
    ("operation_clean_sweep", "Operation Clean Sweep"),
    ("strike_at_karkand", "Strike at Karkand"),
    ("kubra_dam", "Kubra Dam"),
]

EN_REG = [
    ("bf2demo", "Battlefield 2 Demo"),
    ("bf2cam", "Battlefield 2 Camera"),
    ("Open", "Launch with Quorvane"),
]

# ---------------------------------------------------------------- Italian

IT = {
    "name": "Italian",
    "author": "Traduzione italiana: Quorvane team",
    "last_update": "Ultimo aggiornamento: 08/12/2026 " + VERSION,
    "captions": {
        "taZuruveZevoruvi": "ZuruveZevoruvi",
        "taSettings": "Impostazioni",
        "taHelp": "Aiuto",
        "taAbout": "Informazioni",
        "taBookmarks": "Segnalibri",
        "taConsole": "Console",
        "gbConfig": "Modalità di avvio",
        "gbFiles": "File in %s",
        "gbParams": "Parametri",
        "gbWinSettings": "Finestra",
        "gbGameplay": "Gioco",
        "gbAdditional": "Extra",
        "btnRun": "Avvia",
        "btnScan": "Cerca && Importa",
        "btnRefresh": "Aggiorna",
        "cbWinMode": "Modalità finestra",
        "cbRenderStats": "Genera statistiche",
        "cbCaptureSound": "Cattura audio",
        "laPlayDemoUserCam": "Riproduci demo con telecamera libera",
        "laPlayDemoRecordedCam": "Riproduci demo con telecamera registrata",
        "laPlayDemoRecordCam": "Riproduci demo e registra telecamera",
        "laRenderVideo": "Esporta in video",
        "laCaptureSound": "Cattura audio in WAV",
        "laTimeDemo": "Time Demo",
        "laSingleplayer": "Avvia una partita singleplayer",
        "laDemo": "Demo:",
        "laCamera": "Telecamera:",
        "laPresets": "Preimpostazioni:",
        "laCameraName": "Nome telecamera:",
        "laVideoName": "Nome video:",
        "laWidth": "Larghezza:",
        "laHeight": "Altezza:",
        "laXYPos": "Posizione X/Y:",
        "laFPS": "FPS:",
        "laFOV": "FOV:",
        "menuMods": "Mod",
        "menuNewProject": "Nuovo progetto",
        "menuRenameProject": "Rinomina progetto",
        "menuMoveFiles": "Sposta file in questo progetto",
        "btnOK": "Ok",
        "btnGeneral": "Generale",
        "btnSoundCapture": "Cattura audio",
        "btnProfiles": "Profili",
        "btnServerSettings": "Server",
        "gbSelfCheck": "Autoverifica",
        "gbGeneral": "Percorsi",
        "laBF2Dir": "Cartella di Battlefield 2:",
        "laMyDocs": "Documenti:",
        "gbAssociate": "Associazioni",
        "cbAssociateFiles": "Associa i file demo a Quorvane",
        "gbLocalization": "Lingua",
        "laLanguage": "Lingua:",
        "gbSoundCapture": "Cattura audio",
        "laSource": "Sorgente:",
        "laDefSource": "Sorgente predefinita: (QVR tornerà a questa sorgente alla chiusura)",
        "laRecVolume": "Volume di registrazione:",
        "laMax": "Max",
        "laMin": "Min",
        "gbOutput": "Destinazione",
        "rbRenderToProject": "Salva nella cartella del progetto",
        "rbRenderToOutput": "Salva nella cartella di destinazione:",
        "gbProfile": "Profilo",
        "laAdvSettings": "Impostazioni grafiche && demo",
        "laDemoQuality": "Qualità demo:",
        "laTerrainQuality": "Qualità terreno:",
        "laGeometryQuality": "Qualità geometria:",
        "laLightQuality": "Qualità illuminazione:",
        "laDynLightQuality": "Luci dinamiche:",
        "laDynShadowQuality": "Ombre dinamiche:",
        "laEffectsQuality": "Qualità effetti:",
        "laTextureQuality": "Qualità texture:",
        "laTxtFilterQuality": "Filtro texture:",
        "laAntiAlias": "Antialiasing:",
        "laViewDistance": "Distanza visiva:",
        "gbServer": "Impostazioni server",
        "laServers": "Server:",
        "laHost": "Host:",
        "laPort": "Porta:",
        "laPassword": "Password:",
        "cbReadChat": "Leggi la chat ed esegui i comandi",
        "laRequiresScript": "(Richiede gli script admin BF2CC installati sul server)",
        "menuAddPlayer": "Aggiungi giocatore...",
        "menuRemovePlayer": "Rimuovi giocatore",
        "gbProfileBookmarks": "Profilo selezionato",
        "gbBookmarks": "Segnalibri",
        "gbDownloadProgress": "Avanzamento download",
        "btnDownload": "Scarica",
        "btnAbort": "Interrompi",
        "laDescription": "Cerca nella cartella di BF2 in Documenti",
        "btnPureScan": "Cerca",
        "btnImport": "Importa selezionati",
        "gbOptions": "Opzioni",
        "cbDelete": "Elimina il file originale dopo l'importazione",
        "cbOverwrite": "Non sovrascrivere i file già esistenti",
        "frmMoveFiles": "Sposta file",
        "laMoveFiles": "Sposta i file nella cartella [%s]",
        "btnMoveFiles": "Sposta file",
        "frmAddUser": "Aggiungi giocatore",
        "laPlayerName": "Nome giocatore:",
        "gbPrivileges": "Privilegi",
        "btnAdd": "Aggiungi",
        "btnCancel": "Annulla",
    },
    "strings": {
        "MyDocs": "Documenti",
        "Found": "Trovato",
        "NotFound": "Non trovato",
        "Params1": "I parametri non sono validi, ricontrollali",
        "Params2": "e inserisci valori validi prima di avviare di nuovo BF2.",
        "Unknown": "Sconosciuta",
        "BF2Version": "Versione di BF2",
        "CamAndDemoFiles": "Seleziona un file demo e un file telecamera prima di avviare BF2 - Riprova",
        "SelectDemo": "Seleziona un file demo prima di avviare BF2 - Riprova",
        "BFNotFound": "Battlefield 2 non è stato trovato - controlla le impostazioni",
        "NoSettings": "Nessuna impostazione trovata, configura il programma prima di continuare",
        "NameCamera": "Inserisci un nome per la nuova telecamera",
        "NameVideo": "Inserisci un nome per il nuovo video.",
        "Filename": "Nome",
        "Filetype": "Tipo",
        "Scan": "Cerca",
        "Scanning": "Ricerca in corso...",
        "Demo": "Demo",
        "Camera": "Telecamera",
        "FilesFound": "File trovati",
        "NoFilesFound": "Nessun file trovato",
        "NewPreset": "Nuova preimpostazione",
        "NamePreset": "Inserisci il nome della nuova preimpostazione:",
        "NoScan": "La ricerca non è disponibile finché BF2 non viene trovato - Controlla le impostazioni",
        "SpecifyBFDir": "Indica la cartella di Battlefield 2:",
        "TimeDemo1": 'Time Demo: al termine della riproduzione la demo registrata si "bloccherà" in attesa di un tuo comando.',
        "TimeDemo2": "Se non giochi in modalità finestra, dovrai premere ALT+TAB per tornare a Windows. Vedrai allora "
                     'una piccola finestra chiamata "Time Demo Report", con informazioni utili sulla tua demo.',
        "TimeDemo3": "Puoi chiudere questa finestra senza problemi: BF2 verrà chiuso e il rapporto verrà salvato in "
                     'un file chiamato "timedemo_report.txt" nella cartella mods\\bf2. Vuoi continuare?',
        "RenderVideo1": "Esporta in video: Battlefield 2 genererà un file AVI completo a partire dalla demo e dai "
                        "movimenti di telecamera registrati. L'operazione può richiedere molto tempo, a seconda della "
                        "durata della demo.",
        "RenderVideo2": "Quando la mappa è caricata, dovrai tornare a Windows con ALT+TAB (a meno che tu non giochi "
                        "in modalità finestra) e scegliere un codificatore nella piccola finestra che comparirà - si "
                        "consigliano vivamente DivX o Xvid. Dopo la scelta puoi rientrare nel gioco e BF2 inizierà "
                        "l'esportazione.",
        "RenderVideo3": "Ricorda: se devi interrompere l'esportazione ma vuoi conservare quanto il gioco ha già "
                        "prodotto, premi [R] sulla tastiera. Vuoi continuare?",
        "NewProject": "Nuovo progetto",
        "RenameProject": "Rinomina progetto",
        "ProjectName": "Nome del progetto:",
        "ProjectNameInvalid": "Il nome del progetto non è valido",
        "Unassigned": "Non assegnati",
        "Off": "Disattivato",
        "Low": "Bassa",
        "Medium": "Media",
        "High": "Alta",
        "UltraHigh": "Altissima",
        "demoDownloadFormat": "Scaricati %s MB di %s MB",
        "demoFileName": "Nome file: %s",
        "demoDownloadComp": "Download completato!",
        "demoDownloadCancel": "Download interrotto",
        "spMapError": "[%s] non è una mappa valida di [%s], scegline un'altra.",
        "bmServer": "Server",
        "bmMap": "Mappa",
        "bmDate": "Data",
        "bmURL": "URL",
        "SndOutputDir": "Scegli la cartella di destinazione",
        "NewServer": "Nuova preimpostazione server",
        "NameServer": "Inserisci il nome della nuova preimpostazione server:",
    },
    "reg": {
        "bf2demo": "Demo di Battlefield 2",
        "bf2cam": "Telecamera di Battlefield 2",
        "Open": "Avvia con Quorvane",
    },
    "help": [
        ("download_demos.html", "Scaricare le demo"),
        ("recordsp.html", "Registrare una demo in singleplayer"),
    ],
    "hints": [
        ("btnRun", "Avvia Battlefield 2 nella modalità scelta"),
        ("btnScan", "Importa le demo e le telecamere registrate dal gioco"),
        ("btnRefresh", "Ricarica l'elenco dei file"),
        ("btnSavePreset", "Salva i valori attuali come nuova preimpostazione"),
        ("btnSearchBF2Dir", "Cerca la cartella di Battlefield 2 nel registro"),
    ],
}

# ---------------------------------------------------------------- Spanish

ES = {
    "name": "Spanish",
    "author": "Traducción al español: Quorvane team",
    "last_update": "Última actualización: 08/12/2026 " + VERSION,
    "captions": {
        "taZuruveZevoruvi": "ZuruveZevoruvi",
        "taSettings": "Configuración",
        "taHelp": "Ayuda",
        "taAbout": "Acerca de",
        "taBookmarks": "Marcadores",
        "taConsole": "Consola",
        "gbConfig": "Modo de ejecución",
        "gbFiles": "Archivos en %s",
        "gbParams": "Parámetros",
        "gbWinSettings": "Ventana",
        "gbGameplay": "Juego",
        "gbAdditional": "Adicional",
        "btnRun": "Ejecutar",
        "btnScan": "Buscar && Importar",
        "btnRefresh": "Actualizar",
        "cbWinMode": "Modo ventana",
        "cbRenderStats": "Generar estadísticas",
        "cbCaptureSound": "Capturar sonido",
        "laPlayDemoUserCam": "Reproducir demo con cámara libre",
        "laPlayDemoRecordedCam": "Reproducir demo con cámara grabada",
        "laPlayDemoRecordCam": "Reproducir demo y grabar cámara",
        "laRenderVideo": "Renderizar a vídeo",
        "laCaptureSound": "Capturar sonido a WAV",
        "laTimeDemo": "Time Demo",
        "laSingleplayer": "Iniciar una partida individual",
        "laDemo": "Demo:",
        "laCamera": "Cámara:",
        "laPresets": "Preajustes:",
        "laCameraName": "Nombre de la cámara:",
        "laVideoName": "Nombre del vídeo:",
        "laWidth": "Ancho:",
        "laHeight": "Alto:",
        "laXYPos": "Posición X/Y:",
        "laFPS": "FPS:",
        "laFOV": "FOV:",
        "menuMods": "Mods",
        "menuNewProject": "Nuevo proyecto",
        "menuRenameProject": "Renombrar proyecto",
        "menuMoveFiles": "Mover archivos a este proyecto",
        "btnOK": "Aceptar",
        "btnGeneral": "General",
        "btnSoundCapture": "Captura de sonido",
        "btnProfiles": "Perfiles",
        "btnServerSettings": "Servidores",
        "gbSelfCheck": "Autocomprobación",
        "gbGeneral": "Rutas",
        "laBF2Dir": "Carpeta de Battlefield 2:",
        "laMyDocs": "Mis documentos:",
        "gbAssociate": "Asociaciones",
        "cbAssociateFiles": "Asociar los archivos de demo con Quorvane",
        "gbLocalization": "Idioma",
        "laLanguage": "Idioma:",
        "gbSoundCapture": "Captura de sonido",
        "laSource": "Fuente:",
        "laDefSource": "Fuente predeterminada: (QVR volverá a esta fuente al cerrarse)",
        "laRecVolume": "Volumen de grabación:",
        "laMax": "Máx",
        "laMin": "Mín",
        "gbOutput": "Salida",
        "rbRenderToProject": "Guardar en la carpeta del proyecto",
        "rbRenderToOutput": "Guardar en la carpeta de salida:",
        "gbProfile": "Perfil",
        "laAdvSettings": "Opciones de gráficos && demo",
        "laDemoQuality": "Calidad de demo:",
        "laTerrainQuality": "Calidad del terreno:",
        "laGeometryQuality": "Calidad de geometría:",
        "laLightQuality": "Calidad de iluminación:",
        "laDynLightQuality": "Luces dinámicas:",
        "laDynShadowQuality": "Sombras dinámicas:",
        "laEffectsQuality": "Calidad de efectos:",
        "laTextureQuality": "Calidad de texturas:",
        "laTxtFilterQuality": "Filtrado de texturas:",
        "laAntiAlias": "Antialiasing:",
        "laViewDistance": "Distancia de visión:",
        "gbServer": "Configuración del servidor",
        "laServers": "Servidores:",
        "laHost": "Host:",
        "laPort": "Puerto:",
        "laPassword": "Contraseña:",
        "cbReadChat": "Leer el chat y procesar comandos",
        "laRequiresScript": "(Requiere los scripts de administración BF2CC en el servidor)",
        "menuAddPlayer": "Añadir jugador...",
        "menuRemovePlayer": "Quitar jugador",
        "gbProfileBookmarks": "Perfil seleccionado",
        "gbBookmarks": "Marcadores",
        "gbDownloadProgress": "Progreso de la descarga",
        "btnDownload": "Descargar",
        "btnAbort": "Detener",
        "laDescription": "Busca en tu carpeta de BF2 en Mis documentos",
        "btnPureScan": "Buscar",
        "btnImport": "Importar selección",
        "gbOptions": "Opciones",
        "cbDelete": "Borrar el archivo original tras importarlo",
        "cbOverwrite": "No sobrescribir si el archivo ya existe",
        "frmMoveFiles": "Mover archivos",
        "laMoveFiles": "Mover archivos a la carpeta [%s]",
        "btnMoveFiles": "Mover archivos",
        "frmAddUser": "Añadir jugador",
        "laPlayerName": "Nombre del jugador:",
        "gbPrivileges": "Privilegios",
        "btnAdd": "Añadir",
        "btnCancel": "Cancelar",
    },
    "strings": {
        "MyDocs": "Mis documentos",
        "Found": "Encontrado",
        "NotFound": "No encontrado",
        "Params1": "Los parámetros no son válidos, revísalos",
        "Params2": "e introduce valores válidos antes de volver a ejecutar BF2.",
        "Unknown": "Desconocida",
        "BF2Version": "Versión de BF2",
        "CamAndDemoFiles": "Selecciona un archivo de demo y un archivo de cámara antes de ejecutar BF2 - Inténtalo de nuevo",
        "SelectDemo": "Selecciona un archivo de demo antes de ejecutar BF2 - Inténtalo de nuevo",
        "BFNotFound": "No se ha encontrado Battlefield 2 - revisa la configuración",
        "NoSettings": "No se ha encontrado ninguna configuración, configura el programa antes de continuar",
        "NameCamera": "Escribe un nombre para la nueva cámara",
        "NameVideo": "Escribe un nombre para el nuevo vídeo.",
        "Filename": "Nombre",
        "Filetype": "Tipo",
        "Scan": "Buscar",
        "Scanning": "Buscando...",
        "Demo": "Demo",
        "Camera": "Cámara",
        "FilesFound": "Archivos encontrados",
        "NoFilesFound": "No se han encontrado archivos",
        "NewPreset": "Nuevo preajuste",
        "NamePreset": "Escribe el nombre del nuevo preajuste:",
        "NoScan": "La búsqueda no está disponible hasta que se localice BF2 - Revisa la configuración",
        "SpecifyBFDir": "Indica la carpeta de Battlefield 2:",
        "TimeDemo1": 'Time Demo: cuando la demo termine de reproducirse, la demo grabada se "congelará" y esperará tu respuesta.',
        "TimeDemo2": "Salvo que juegues en modo ventana, tendrás que pulsar ALT+TAB para volver a Windows. Allí verás "
                     'una pequeña ventana llamada "Time Demo Report", con información útil sobre tu demo.',
        "TimeDemo3": "Puedes cerrar esa ventana sin problema: cerrará BF2 y guardará el informe en un archivo llamado "
                     '"timedemo_report.txt" en tu carpeta mods\\bf2. ¿Quieres continuar?',
        "RenderVideo1": "Renderizar vídeo: Battlefield 2 generará un archivo AVI completo a partir de tu demo y de los "
                        "movimientos de cámara grabados. Este proceso puede tardar mucho tiempo, según la duración "
                        "de la demo.",
        "RenderVideo2": "Cuando el mapa se haya cargado, tendrás que volver a Windows con ALT+TAB (salvo que juegues "
                        "en modo ventana) y elegir un códec en la pequeña ventana que aparecerá - se recomiendan DivX "
                        "o Xvid. Una vez elegido, puedes volver al juego y BF2 comenzará a renderizar.",
        "RenderVideo3": "Recuerda: si necesitas detener el renderizado pero conservar lo que el juego ya ha generado, "
                        "pulsa [R] en el teclado. ¿Quieres continuar?",
        "NewProject": "Nuevo proyecto",
        "RenameProject": "Renombrar proyecto",
        "ProjectName": "Nombre del proyecto:",
        "ProjectNameInvalid": "El nombre del proyecto no es válido",
        "Unassigned": "Sin asignar",
        "Off": "Desactivado",
        "Low": "Baja",
        "Medium": "Media",
        "High": "Alta",
        "UltraHigh": "Muy alta",
        "demoDownloadFormat": "Descargados %s MB de %s MB",
        "demoFileName": "Archivo: %s",
        "demoDownloadComp": "¡Descarga completada!",
        "demoDownloadCancel": "Descarga cancelada",
        "spMapError": "[%s] no es un mapa válido de [%s], elige otro.",
        "bmServer": "Servidor",
        "bmMap": "Mapa",
        "bmDate": "Fecha",
        "bmURL": "URL",
        "SndOutputDir": "Elige la carpeta de salida",
        "NewServer": "Nuevo preajuste de servidor",
        "NameServer": "Escribe el nombre del nuevo preajuste de servidor:",
    },
    "reg": {
        "bf2demo": "Demo de Battlefield 2",
        "bf2cam": "Cámara de Battlefield 2",
        "Open": "Abrir con Quorvane",
    },
    "help": [
        ("download_demos.html", "Descargar demos"),
        ("recordsp.html", "Grabar una demo en partida individual"),
    ],
    "hints": [
        ("btnRun", "Inicia Battlefield 2 en el modo elegido"),
        ("btnScan", "Importa las demos y cámaras grabadas por el juego"),
        ("btnRefresh", "Vuelve a cargar la lista de archivos"),
        ("btnSavePreset", "Guarda los valores actuales como un nuevo preajuste"),
        ("btnSearchBF2Dir", "Busca la carpeta de Battlefield 2 en el registro"),
    ],
}

# ---------------------------------------------------------------- Swedish

SV = {
    "name": "Swedish",
    "author": "Svensk översättning: Quorvane team",
    "last_update": "Senast uppdaterad: 2026-12-08 " + VERSION,
    "captions": {
        "taZuruveZevoruvi": "ZuruveZevoruvi",
        "taSettings": "Inställningar",
        "taHelp": "Hjälp",
        "taAbout": "Om",
        "taBookmarks": "Bokmärken",
        "taConsole": "Konsol",
        "gbConfig": "Körläge",
        "gbFiles": "Filer i %s",
        "gbParams": "Parametrar",
        "gbWinSettings": "Fönster",
        "gbGameplay": "Spel",
        "gbAdditional": "Övrigt",
        "btnRun": "Kör",
        "btnScan": "Sök && Importera",
        "btnRefresh": "Uppdatera",
        "cbWinMode": "Fönsterläge",
        "cbRenderStats": "Skapa statistik",
        "cbCaptureSound": "Spela in ljud",
        "laPlayDemoUserCam": "Spela demo med egen kamera",
        "laPlayDemoRecordedCam": "Spela demo med inspelad kamera",
        "laPlayDemoRecordCam": "Spela demo, spela in kamera",
        "laRenderVideo": "Rendera till video",
        "laCaptureSound": "Spela in ljud till WAV",
        "laTimeDemo": "Time Demo",
        "laSingleplayer": "Starta ett enspelarspel",
        "laDemo": "Demo:",
        "laCamera": "Kamera:",
        "laPresets": "Förinställningar:",
        "laCameraName": "Kameranamn:",
        "laVideoName": "Videonamn:",
        "laWidth": "Bredd:",
        "laHeight": "Höjd:",
        "laXYPos": "X/Y-position:",
        "laFPS": "FPS:",
        "laFOV": "FOV:",
        "menuMods": "Moddar",
        "menuNewProject": "Nytt projekt",
        "menuRenameProject": "Byt namn på projekt",
        "menuMoveFiles": "Flytta filer till detta projekt",
        "btnOK": "Ok",
        "btnGeneral": "Allmänt",
        "btnSoundCapture": "Ljudinspelning",
        "btnProfiles": "Profiler",
        "btnServerSettings": "Servrar",
        "gbSelfCheck": "Självtest",
        "gbGeneral": "Sökvägar",
        "laBF2Dir": "Battlefield 2-mapp:",
        "laMyDocs": "Mina dokument:",
        "gbAssociate": "Filkopplingar",
        "cbAssociateFiles": "Koppla demofiler till Quorvane",
        "gbLocalization": "Språk",
        "laLanguage": "Språk:",
        "gbSoundCapture": "Ljudinspelning",
        "laSource": "Källa:",
        "laDefSource": "Standardkälla: (QVR återgår till denna källa vid avslut)",
        "laRecVolume": "Inspelningsvolym:",
        "laMax": "Max",
        "laMin": "Min",
        "gbOutput": "Utdata",
        "rbRenderToProject": "Spara i projektmappen",
        "rbRenderToOutput": "Spara i utdatamappen:",
        "gbProfile": "Profil",
        "laAdvSettings": "Grafik- && demoinställningar",
        "laDemoQuality": "Demokvalitet:",
        "laTerrainQuality": "Terrängkvalitet:",
        "laGeometryQuality": "Geometrikvalitet:",
        "laLightQuality": "Ljuskvalitet:",
        "laDynLightQuality": "Dynamiskt ljus:",
        "laDynShadowQuality": "Dynamiska skuggor:",
        "laEffectsQuality": "Effektkvalitet:",
        "laTextureQuality": "Texturkvalitet:",
        "laTxtFilterQuality": "Texturfiltrering:",
        "laAntiAlias": "Kantutjämning:",
        "laViewDistance": "Siktavstånd:",
        "gbServer": "Serverinställningar",
        "laServers": "Servrar:",
        "laHost": "Värd:",
        "laPort": "Port:",
        "laPassword": "Lösenord:",
        "cbReadChat": "Läs chatten och utför kommandon",
        "laRequiresScript": "(Kräver att BF2CC-adminskripten är installerade på servern)",
        "menuAddPlayer": "Lägg till spelare...",
        "menuRemovePlayer": "Ta bort spelare",
        "gbProfileBookmarks": "Vald profil",
        "gbBookmarks": "Bokmärken",
        "gbDownloadProgress": "Nedladdning",
        "btnDownload": "Ladda ner",
        "btnAbort": "Avbryt",
        "laDescription": "Söker igenom din BF2-mapp i Mina dokument",
        "btnPureScan": "Sök",
        "btnImport": "Importera markerade",
        "gbOptions": "Alternativ",
        "cbDelete": "Ta bort originalfilen efter import",
        "cbOverwrite": "Skriv inte över befintliga filer",
        "frmMoveFiles": "Flytta filer",
        "laMoveFiles": "Flytta filer till mappen [%s]",
        "btnMoveFiles": "Flytta filer",
        "frmAddUser": "Lägg till spelare",
        "laPlayerName": "Spelarnamn:",
        "gbPrivileges": "Behörigheter",
        "btnAdd": "Lägg till",
        "btnCancel": "Avbryt",
    },
    "strings": {
        "MyDocs": "Mina dokument",
        "Found": "Hittad",
        "NotFound": "Hittades inte",
        "Params1": "Parametrarna är ogiltiga, gå igenom dem",
        "Params2": "och ange giltiga värden innan du kör BF2 igen.",
        "Unknown": "Okänd",
        "BF2Version": "BF2-version",
        "CamAndDemoFiles": "Välj en demofil och en kamerafil innan du kör BF2 - Försök igen",
        "SelectDemo": "Välj en demofil innan du kör BF2 - Försök igen",
        "BFNotFound": "Battlefield 2 hittades inte - kontrollera dina inställningar",
        "NoSettings": "Inga inställningar hittades, ställ in programmet innan du fortsätter",
        "NameCamera": "Ange ett namn på den nya kameran",
        "NameVideo": "Ange ett namn på den nya videon.",
        "Filename": "Namn",
        "Filetype": "Filtyp",
        "Scan": "Sök",
        "Scanning": "Söker...",
        "Demo": "Demo",
        "Camera": "Kamera",
        "FilesFound": "Hittade filer",
        "NoFilesFound": "Inga filer hittades",
        "NewPreset": "Ny förinställning",
        "NamePreset": "Ange namnet på den nya förinställningen:",
        "NoScan": "Sökning är inte möjlig förrän BF2 har hittats - Kontrollera dina inställningar",
        "SpecifyBFDir": "Ange mappen för Battlefield 2:",
        "TimeDemo1": 'Time Demo: När demon har spelats klart kommer den inspelade demon att "frysa" och vänta på dig.',
        "TimeDemo2": "Om du inte kör i fönsterläge måste du trycka ALT+TAB för att komma tillbaka till Windows. Där "
                     'ser du ett litet fönster som heter "Time Demo Report", med användbar information om din demo.',
        "TimeDemo3": "Du kan tryggt stänga det fönstret: det stänger BF2 och sparar rapporten i en fil som heter "
                     '"timedemo_report.txt" i din mapp mods\\bf2. Vill du fortsätta?',
        "RenderVideo1": "Rendera video: Battlefield 2 skapar en komplett AVI-fil utifrån din demo och de inspelade "
                        "kamerarörelserna. Det kan ta mycket lång tid, beroende på hur lång demon är.",
        "RenderVideo2": "När kartan har laddats måste du gå tillbaka till Windows med ALT+TAB (om du inte kör i "
                        "fönsterläge) och välja en kodare i den lilla dialogruta som visas - DivX eller Xvid "
                        "rekommenderas starkt. När du har valt kan du gå in i spelet igen, och BF2 börjar renderingen.",
        "RenderVideo3": "Kom ihåg: om du behöver stoppa renderingen men behålla det som spelet har renderat så långt, "
                        "tryck på [R] på tangentbordet. Vill du fortsätta?",
        "NewProject": "Nytt projekt",
        "RenameProject": "Byt namn på projekt",
        "ProjectName": "Projektnamn:",
        "ProjectNameInvalid": "Projektnamnet är ogiltigt",
        "Unassigned": "Ej tilldelade",
        "Off": "Av",
        "Low": "Låg",
        "Medium": "Medel",
        "High": "Hög",
        "UltraHigh": "Ultrahög",
        "demoDownloadFormat": "Laddar ner %s MB av %s MB",
        "demoFileName": "Filnamn: %s",
        "demoDownloadComp": "Nedladdningen är klar!",
        "demoDownloadCancel": "Nedladdningen avbröts",
        "spMapError": "[%s] är inte en giltig karta för [%s], välj igen.",
        "bmServer": "Server",
        "bmMap": "Karta",
        "bmDate": "Datum",
        "bmURL": "URL",
        "SndOutputDir": "Välj utdatamapp",
        "NewServer": "Ny serverförinställning",
        "NameServer": "Ange namnet på den nya serverförinställningen:",
    },
    "reg": {
        "bf2demo": "Battlefield 2-demo",
        "bf2cam": "Battlefield 2-kamera",
        "Open": "Starta med Quorvane",
    },
    "help": [],
    "hints": [],
}


# ---------------------------------------------------------------- writer

def check_value(lang, section, key, value):
    """Refuses texts that would not read back as written."""
    where = "%s [%s] %s" % (lang, section, key)
    if value != value.strip():
        raise SystemExit("%s: blanks at either end are lost on reading" % where)
    if len(value) >= 2 and value.startswith('"') and value.endswith('"'):
        raise SystemExit("%s: enclosing quotation marks are dropped on reading" % where)
    if len(value) > 2047:
        raise SystemExit("%s: longer than a profile read returns" % where)
    if "\r" in value or "\n" in value:
        raise SystemExit("%s: line break inside a value" % where)
    value.encode("cp1252")


def check_like_english(lang, section, key, english, text):
    """A translation keeps the English text's format arguments and escaped ampersands."""
    if english.count("%s") != text.count("%s") or text.count("%") != text.count("%s"):
        raise SystemExit("%s [%s] %s: format arguments differ from English" % (lang, section, key))
    if ("&&" in english) != ("&&" in text) or text.replace("&&", "").count("&"):
        raise SystemExit("%s [%s] %s: ampersands differ from English" % (lang, section, key))


def section(lines, name, pairs, lang):
    lines.append("[%s]" % name)
    for key, value in pairs:
        if key.startswith("//"):
            lines.append(key)
            continue
        check_value(lang, name, key, value)
        lines.append("%s=%s" % (key, value))
    lines.append("")


def english_file():
    lines = [
        "// Quorvane language file: English",
        "// Lines that start with // are comments. && in a caption shows a single &.",
        "",
    ]
    section(lines, "Header", [
        ("Author", "Quorvane team"),
        ("LastUpdate", "Last update: %s %s" % (LAST_UPDATE_DATE, VERSION)),
    ], "English")
    caps = []
    for title, pairs in EN_CAPTIONS:
        caps.append(("// " + title, None))
        caps.extend(pairs)
    section(lines, "Captions", caps, "English")
    section(lines, "Strings", EN_STRINGS, "English")
    section(lines, "Reg", EN_REG, "English")
    section(lines, "Maps", MAPS, "English")
    return lines


def translated_file(tr):
    lang = tr["name"]
    en_caps = dict(pair for _, pairs in EN_CAPTIONS for pair in pairs)
    wanted_caps = [k for k in en_caps if k not in UNREAD_CAPTIONS]
    if sorted(tr["captions"]) != sorted(wanted_caps):
        missing = set(wanted_caps) - set(tr["captions"])
        extra = set(tr["captions"]) - set(wanted_caps)
        raise SystemExit("%s captions: missing %s, extra %s" % (lang, sorted(missing), sorted(extra)))
    en_strings = dict(EN_STRINGS)
    if sorted(tr["strings"]) != sorted(en_strings):
        raise SystemExit("%s strings do not match the English keys" % lang)
    if sorted(tr["reg"]) != sorted(k for k, _ in EN_REG):
        raise SystemExit("%s reg keys do not match the English keys" % lang)
    for key, text in tr["captions"].items():
        check_like_english(lang, "Captions", key, en_caps[key], text)
    for key, text in tr["strings"].items():
        check_like_english(lang, "Strings", key, en_strings[key], text)

    lines = [
        "// Quorvane language file: %s" % lang,
        "// Lines that start with // are comments. && in a caption shows a single &.",
        "",
    ]
    section(lines, "Header", [("Author", tr["author"]), ("LastUpdate", tr["last_update"])], lang)
    caps = []
    for title, pairs in EN_CAPTIONS:
        group = [(k, tr["captions"][k]) for k, _ in pairs if k in tr["captions"]]
        if group:
            caps.append(("// " + title, None))
            caps.extend(group)
    section(lines, "Captions", caps, lang)
    section(lines, "Strings", [(k, tr["strings"][k]) for k, _ in EN_STRINGS], lang)
    section(lines, "Reg", [(k, tr["reg"][k]) for k, _ in EN_REG], lang)
    section(lines, "Maps", MAPS, lang)
    if tr["help"]:
        section(lines, "Help", tr["help"], lang)
    if tr["hints"]:
        section(lines, "Hints", tr["hints"], lang)
    return lines


def write(path, lines):
    while lines and lines[-1] == "":
        lines.pop()
    data = ("\r\n".join(lines) + "\r\n").encode("cp1252")
    with open(path, "wb") as f:
        f.write(data)
    print("%s: %d bytes" % (path, len(data)))


def main():
    here = os.path.dirname(os.path.abspath(__file__))
    out = sys.argv[1] if len(sys.argv) > 1 else os.path.normpath(os.path.join(here, "..", "..", "resources", "Languages"))
    os.makedirs(out, exist_ok=True)
    write(os.path.join(out, "English.lang"), english_file())
    for tr in (IT, ES, SV):
        write(os.path.join(out, tr["name"] + ".lang"), translated_file(tr))


if __name__ == "__main__":
    main()
