<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="de_DE">
<context>
    <name>Localizable</name>
    <message>
        <source>Color Options</source>
        <translation>Farboptionen</translation>
    </message>
    <message>
        <source>Quick Color</source>
        <translation>Schnellfarbe</translation>
    </message>
    <message>
        <source>Quick Color:</source>
        <translation>Schnellfarbe:</translation>
    </message>
    <message>
        <source>Brightness</source>
        <translation>Helligkeit</translation>
    </message>
    <message>
        <source>Brightness:</source>
        <translation>Helligkeit:</translation>
    </message>
    <message>
        <source>Color as Grayscale</source>
        <translation>Farbe als Graustufen</translation>
    </message>
    <message>
        <source>Color Separation</source>
        <translation>Farbauszug</translation>
    </message>
    <message>
        <source>EconoMode</source>
        <translation>Sparmodus</translation>
    </message>
    <message>
        <source>EdgeType</source>
        <translation>Kantentyp</translation>
    </message>
    <message>
        <source>EdgeType:</source>
        <translation>Kantentyp:</translation>
    </message>
    <message>
        <source>GlossyMode</source>
        <translation>Glanzmodus</translation>
    </message>
    <message>
        <source>Advanced Color Options</source>
        <translation>Erweiterte Farboptionen</translation>
    </message>
    <message>
        <source>Image</source>
        <translation>Bild</translation>
    </message>
    <message>
        <source>Text</source>
        <translation>Text</translation>
    </message>
    <message>
        <source>Graphics</source>
        <translation>Grafik</translation>
    </message>
    <message>
        <source>Simulation</source>
        <translation>Simulation</translation>
    </message>
    <message>
        <source>RGB Source:</source>
        <translation>RGB-Quelle:</translation>
    </message>
    <message>
        <source>RGB Intent:</source>
        <translation>RGB-Wiedergabe:</translation>
    </message>
    <message>
        <source>RGB Gray Treatment:</source>
        <translation>RGB-Graubehandlung:</translation>
    </message>
    <message>
        <source>Destination Profile:</source>
        <translation>Zielprofil:</translation>
    </message>
    <message>
        <source>Halftone:</source>
        <translation>Raster:</translation>
    </message>
    <message>
        <source>EdgeEnhance:</source>
        <translation>Kantenverbesserung:</translation>
    </message>
    <message>
        <source>Simulation Profile:</source>
        <translation>Simulationsprofil:</translation>
    </message>
    <message>
        <source>Match Paper Color:</source>
        <translation>Papierfarbe angleichen:</translation>
    </message>
    <message>
        <source>CMYK Gray Treatment:</source>
        <translation>CMYK-Graubehandlung:</translation>
    </message>
    <message>
        <source>Management Profile</source>
        <translation>Profile verwalten</translation>
    </message>
    <message>
        <source>Resource Loader</source>
        <translation>Ressourcenlader</translation>
    </message>
    <message>
        <source>Hide Advanced Options</source>
        <translation>Erweiterte Optionen ausblenden</translation>
    </message>
    <message>
        <source>Disk</source>
        <translation>Festplatte</translation>
    </message>
    <message>
        <source>Card</source>
        <translation>Karte</translation>
    </message>
    <message>
        <source>Simulation Profile</source>
        <translation>Simulationsprofil</translation>
    </message>
    <message>
        <source>Match Paper Color</source>
        <translation>Papierfarbe angleichen</translation>
    </message>
    <message>
        <source>CMYK Gray Treatment</source>
        <translation>CMYK-Graubehandlung</translation>
    </message>
    <message>
        <source>Image RGB Source</source>
        <translation>Bild: RGB-Quelle</translation>
    </message>
    <message>
        <source>Image RGB Intent</source>
        <translation>Bild: RGB-Wiedergabe</translation>
    </message>
    <message>
        <source>Image RGB Gray Treatment</source>
        <translation>Bild: RGB-Graubehandlung</translation>
    </message>
    <message>
        <source>Image Destination Profile</source>
        <translation>Bild: Zielprofil</translation>
    </message>
    <message>
        <source>Image Halftone</source>
        <translation>Bild: Raster</translation>
    </message>
    <message>
        <source>Image EdgeEnhance</source>
        <translation>Bild: Kantenverbesserung</translation>
    </message>
    <message>
        <source>Text RGB Source</source>
        <translation>Text: RGB-Quelle</translation>
    </message>
    <message>
        <source>Text RGB Intent</source>
        <translation>Text: RGB-Wiedergabe</translation>
    </message>
    <message>
        <source>Text RGB Gray Treatment</source>
        <translation>Text: RGB-Graubehandlung</translation>
    </message>
    <message>
        <source>Text Destination Profile</source>
        <translation>Text: Zielprofil</translation>
    </message>
    <message>
        <source>Text Halftone</source>
        <translation>Text: Raster</translation>
    </message>
    <message>
        <source>Text EdgeEnhance</source>
        <translation>Text: Kantenverbesserung</translation>
    </message>
    <message>
        <source>Graphics RGB Source</source>
        <translation>Grafik: RGB-Quelle</translation>
    </message>
    <message>
        <source>Graphics RGB Intent</source>
        <translation>Grafik: RGB-Wiedergabe</translation>
    </message>
    <message>
        <source>Graphics RGB Gray Treatment</source>
        <translation>Grafik: RGB-Graubehandlung</translation>
    </message>
    <message>
        <source>Graphics Destination Profile</source>
        <translation>Grafik: Zielprofil</translation>
    </message>
    <message>
        <source>Graphics Halftone</source>
        <translation>Grafik: Raster</translation>
    </message>
    <message>
        <source>Graphics EdgeEnhance</source>
        <translation>Grafik: Kantenverbesserung</translation>
    </message>
    <message>
        <source>ProfileTitle</source>
        <translation>Profilverwaltung</translation>
    </message>
    <message>
        <source>Profile Type:</source>
        <translation>Profiltyp:</translation>
    </message>
    <message>
        <source>RGB Source Profiles</source>
        <translation>RGB-Quellprofile</translation>
    </message>
    <message>
        <source>Simulation Profiles</source>
        <translation>Simulationsprofile</translation>
    </message>
    <message>
        <source>Destination Profiles</source>
        <translation>Zielprofile</translation>
    </message>
    <message>
        <source>Add</source>
        <translation>Hinzufügen</translation>
    </message>
    <message>
        <source>Edit</source>
        <translation>Bearbeiten</translation>
    </message>
    <message>
        <source>Delete</source>
        <translation>Löschen</translation>
    </message>
    <message>
        <source>Profile Settings</source>
        <translation>Profileinstellungen</translation>
    </message>
    <message>
        <source>File Name:</source>
        <translation>Dateiname:</translation>
    </message>
    <message>
        <source>Browse...</source>
        <translation>Durchsuchen...</translation>
    </message>
    <message>
        <source>Profile Name:</source>
        <translation>Profilname:</translation>
    </message>
    <message>
        <source>Location:</source>
        <translation>Speicherort:</translation>
    </message>
    <message>
        <source>Cancel</source>
        <translation>Abbrechen</translation>
    </message>
    <message>
        <source>OK</source>
        <translation>OK</translation>
    </message>
    <message>
        <source>File Name</source>
        <translation>Dateiname</translation>
    </message>
    <message>
        <source>Profile Name</source>
        <translation>Profilname</translation>
    </message>
    <message>
        <source>Location</source>
        <translation>Speicherort</translation>
    </message>
    <message>
        <source>Menu</source>
        <translation>Menü</translation>
    </message>
    <message>
        <source>ProfileWriteFailed</source>
        <translation>Die Profillisten konnten nicht gespeichert werden: Der Profildienst hat die Listendatei nicht geschrieben. Ihre Änderungen sind noch da; klicken Sie auf OK, um es erneut zu versuchen, oder auf Abbrechen, um sie zu verwerfen.</translation>
    </message>
    <message>
        <source>StopWaiting</source>
        <translation>Nicht länger warten</translation>
    </message>
    <message>
        <source>Looking for colour profiles on the printer…</source>
        <translation>Farbprofile auf dem Drucker werden gesucht…</translation>
    </message>
    <message>
        <source>Saving the profile list…</source>
        <translation>Die Profilliste wird gespeichert…</translation>
    </message>
    <message>
        <source>Asking the profile service…</source>
        <translation>Der Profildienst wird abgefragt…</translation>
    </message>
    <message>
        <source>Economy Mode</source>
        <translation>Sparmodus</translation>
    </message>
    <message>
        <source>Edge Type</source>
        <translation>Kantentyp</translation>
    </message>
    <message>
        <source>Glossy Mode</source>
        <translation>Glanzmodus</translation>
    </message>
    <message>
        <source>Image Edge Enhancement</source>
        <translation>Kantenverstärkung Bild</translation>
    </message>
    <message>
        <source>Text Edge Enhancement</source>
        <translation>Kantenverstärkung Text</translation>
    </message>
    <message>
        <source>Graphics Edge Enhancement</source>
        <translation>Kantenverstärkung Grafik</translation>
    </message>
    <message>
        <source>Standard</source>
        <translation>Standard</translation>
    </message>
    <message>
        <source>Vivid</source>
        <translation>Lebhaft</translation>
    </message>
    <message>
        <source>Photo</source>
        <translation>Foto</translation>
    </message>
    <message>
        <source>Custom</source>
        <translation>Benutzerdefiniert</translation>
    </message>
    <message>
        <source>Lightest</source>
        <translation>Am hellsten</translation>
    </message>
    <message>
        <source>Lighter</source>
        <translation>Heller</translation>
    </message>
    <message>
        <source>Normal</source>
        <translation>Normal</translation>
    </message>
    <message>
        <source>Darker</source>
        <translation>Dunkler</translation>
    </message>
    <message>
        <source>Darkest</source>
        <translation>Am dunkelsten</translation>
    </message>
    <message>
        <source>On</source>
        <translation>Ein</translation>
    </message>
    <message>
        <source>Off</source>
        <translation>Aus</translation>
    </message>
    <message>
        <source>Thin</source>
        <translation>Dünn</translation>
    </message>
    <message>
        <source>Thick</source>
        <translation>Dick</translation>
    </message>
    <message>
        <source>None</source>
        <translation>Keines</translation>
    </message>
    <message>
        <source>sRGB</source>
        <translation>sRGB</translation>
    </message>
    <message>
        <source>Adobe RGB (1998)</source>
        <translation>Adobe RGB (1998)</translation>
    </message>
    <message>
        <source>Monitor RGB</source>
        <translation>Monitor-RGB</translation>
    </message>
    <message>
        <source>Perceptual</source>
        <translation>Wahrnehmungsorientiert</translation>
    </message>
    <message>
        <source>Saturation</source>
        <translation>Sättigung</translation>
    </message>
    <message>
        <source>Relative Colorimetric</source>
        <translation>Relativ farbmetrisch</translation>
    </message>
    <message>
        <source>Black Only</source>
        <translation>Nur Schwarz</translation>
    </message>
    <message>
        <source>Composite CMYK</source>
        <translation>CMYK-Mischschwarz</translation>
    </message>
    <message>
        <source>Auto</source>
        <translation>Automatisch</translation>
    </message>
    <message>
        <source>Detail</source>
        <translation>Detail</translation>
    </message>
    <message>
        <source>Smooth</source>
        <translation>Glatt</translation>
    </message>
    <message>
        <source>Stochastic</source>
        <translation>Stochastisch</translation>
    </message>
    <message>
        <source>SWOP</source>
        <translation>SWOP</translation>
    </message>
    <message>
        <source>Euroscale</source>
        <translation>Euroskala</translation>
    </message>
    <message>
        <source>Japan Color</source>
        <translation>Japan Color</translation>
    </message>
    <message>
        <source>Media Size</source>
        <translation>Papierformat</translation>
    </message>
    <message>
        <source>A4</source>
        <translation>A4</translation>
    </message>
    <message>
        <source>US Letter</source>
        <translation>US Letter</translation>
    </message>
</context>
</TS>
