<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="fr_FR">
<context>
    <name>Localizable</name>
    <message>
        <source>Color Options</source>
        <translation>Options de couleur</translation>
    </message>
    <message>
        <source>Quick Color</source>
        <translation>Couleur rapide</translation>
    </message>
    <message>
        <source>Quick Color:</source>
        <translation>Couleur rapide :</translation>
    </message>
    <message>
        <source>Brightness</source>
        <translation>Luminosité</translation>
    </message>
    <message>
        <source>Brightness:</source>
        <translation>Luminosité :</translation>
    </message>
    <message>
        <source>Color as Grayscale</source>
        <translation>Couleur en niveaux de gris</translation>
    </message>
    <message>
        <source>Color Separation</source>
        <translation>Séparation des couleurs</translation>
    </message>
    <message>
        <source>EconoMode</source>
        <translation>Mode économique</translation>
    </message>
    <message>
        <source>EdgeType</source>
        <translation>Type de contour</translation>
    </message>
    <message>
        <source>EdgeType:</source>
        <translation>Type de contour :</translation>
    </message>
    <message>
        <source>GlossyMode</source>
        <translation>Mode brillant</translation>
    </message>
    <message>
        <source>Advanced Color Options</source>
        <translation>Options de couleur avancées</translation>
    </message>
    <message>
        <source>Image</source>
        <translation>Image</translation>
    </message>
    <message>
        <source>Text</source>
        <translation>Texte</translation>
    </message>
    <message>
        <source>Graphics</source>
        <translation>Graphiques</translation>
    </message>
    <message>
        <source>Simulation</source>
        <translation>Simulation</translation>
    </message>
    <message>
        <source>RGB Source:</source>
        <translation>Source RVB :</translation>
    </message>
    <message>
        <source>RGB Intent:</source>
        <translation>Rendu RVB :</translation>
    </message>
    <message>
        <source>RGB Gray Treatment:</source>
        <translation>Traitement des gris RVB :</translation>
    </message>
    <message>
        <source>Destination Profile:</source>
        <translation>Profil de destination :</translation>
    </message>
    <message>
        <source>Halftone:</source>
        <translation>Trame :</translation>
    </message>
    <message>
        <source>EdgeEnhance:</source>
        <translation>Renforcement des contours :</translation>
    </message>
    <message>
        <source>Simulation Profile:</source>
        <translation>Profil de simulation :</translation>
    </message>
    <message>
        <source>Match Paper Color:</source>
        <translation>Adapter à la couleur du papier :</translation>
    </message>
    <message>
        <source>CMYK Gray Treatment:</source>
        <translation>Traitement des gris CMJN :</translation>
    </message>
    <message>
        <source>Management Profile</source>
        <translation>Gérer les profils</translation>
    </message>
    <message>
        <source>Resource Loader</source>
        <translation>Chargeur de ressources</translation>
    </message>
    <message>
        <source>Hide Advanced Options</source>
        <translation>Masquer les options avancées</translation>
    </message>
    <message>
        <source>Disk</source>
        <translation>Disque</translation>
    </message>
    <message>
        <source>Card</source>
        <translation>Carte</translation>
    </message>
    <message>
        <source>Simulation Profile</source>
        <translation>Profil de simulation</translation>
    </message>
    <message>
        <source>Match Paper Color</source>
        <translation>Adapter à la couleur du papier</translation>
    </message>
    <message>
        <source>CMYK Gray Treatment</source>
        <translation>Traitement des gris CMJN</translation>
    </message>
    <message>
        <source>Image RGB Source</source>
        <translation>Source RVB de l'image</translation>
    </message>
    <message>
        <source>Image RGB Intent</source>
        <translation>Rendu RVB de l'image</translation>
    </message>
    <message>
        <source>Image RGB Gray Treatment</source>
        <translation>Traitement des gris RVB de l'image</translation>
    </message>
    <message>
        <source>Image Destination Profile</source>
        <translation>Profil de destination de l'image</translation>
    </message>
    <message>
        <source>Image Halftone</source>
        <translation>Trame de l'image</translation>
    </message>
    <message>
        <source>Image EdgeEnhance</source>
        <translation>Renforcement des contours de l'image</translation>
    </message>
    <message>
        <source>Text RGB Source</source>
        <translation>Source RVB du texte</translation>
    </message>
    <message>
        <source>Text RGB Intent</source>
        <translation>Rendu RVB du texte</translation>
    </message>
    <message>
        <source>Text RGB Gray Treatment</source>
        <translation>Traitement des gris RVB du texte</translation>
    </message>
    <message>
        <source>Text Destination Profile</source>
        <translation>Profil de destination du texte</translation>
    </message>
    <message>
        <source>Text Halftone</source>
        <translation>Trame du texte</translation>
    </message>
    <message>
        <source>Text EdgeEnhance</source>
        <translation>Renforcement des contours du texte</translation>
    </message>
    <message>
        <source>Graphics RGB Source</source>
        <translation>Source RVB des graphiques</translation>
    </message>
    <message>
        <source>Graphics RGB Intent</source>
        <translation>Rendu RVB des graphiques</translation>
    </message>
    <message>
        <source>Graphics RGB Gray Treatment</source>
        <translation>Traitement des gris RVB des graphiques</translation>
    </message>
    <message>
        <source>Graphics Destination Profile</source>
        <translation>Profil de destination des graphiques</translation>
    </message>
    <message>
        <source>Graphics Halftone</source>
        <translation>Trame des graphiques</translation>
    </message>
    <message>
        <source>Graphics EdgeEnhance</source>
        <translation>Renforcement des contours des graphiques</translation>
    </message>
    <message>
        <source>ProfileTitle</source>
        <translation>Gestion des profils</translation>
    </message>
    <message>
        <source>Profile Type:</source>
        <translation>Type de profil :</translation>
    </message>
    <message>
        <source>RGB Source Profiles</source>
        <translation>Profils source RVB</translation>
    </message>
    <message>
        <source>Simulation Profiles</source>
        <translation>Profils de simulation</translation>
    </message>
    <message>
        <source>Destination Profiles</source>
        <translation>Profils de destination</translation>
    </message>
    <message>
        <source>Add</source>
        <translation>Ajouter</translation>
    </message>
    <message>
        <source>Edit</source>
        <translation>Modifier</translation>
    </message>
    <message>
        <source>Delete</source>
        <translation>Supprimer</translation>
    </message>
    <message>
        <source>Profile Settings</source>
        <translation>Réglages du profil</translation>
    </message>
    <message>
        <source>File Name:</source>
        <translation>Nom de fichier :</translation>
    </message>
    <message>
        <source>Browse...</source>
        <translation>Parcourir...</translation>
    </message>
    <message>
        <source>Profile Name:</source>
        <translation>Nom du profil :</translation>
    </message>
    <message>
        <source>Location:</source>
        <translation>Emplacement :</translation>
    </message>
    <message>
        <source>Cancel</source>
        <translation>Annuler</translation>
    </message>
    <message>
        <source>OK</source>
        <translation>OK</translation>
    </message>
    <message>
        <source>File Name</source>
        <translation>Nom de fichier</translation>
    </message>
    <message>
        <source>Profile Name</source>
        <translation>Nom du profil</translation>
    </message>
    <message>
        <source>Location</source>
        <translation>Emplacement</translation>
    </message>
    <message>
        <source>Menu</source>
        <translation>Menu</translation>
    </message>
    <message>
        <source>ProfileWriteFailed</source>
        <translation>Les listes de profils n'ont pas pu être enregistrées : le service des profils n'a pas écrit le fichier de liste. Vos modifications sont conservées ; cliquez sur OK pour réessayer ou sur Annuler pour les abandonner.</translation>
    </message>
    <message>
        <source>StopWaiting</source>
        <translation>Arrêter d'attendre</translation>
    </message>
    <message>
        <source>Looking for colour profiles on the printer…</source>
        <translation>Recherche des profils de couleur sur l'imprimante…</translation>
    </message>
    <message>
        <source>Saving the profile list…</source>
        <translation>Enregistrement de la liste des profils…</translation>
    </message>
    <message>
        <source>Asking the profile service…</source>
        <translation>Interrogation du service des profils…</translation>
    </message>
    <message>
        <source>Economy Mode</source>
        <translation>Mode économique</translation>
    </message>
    <message>
        <source>Edge Type</source>
        <translation>Type de contour</translation>
    </message>
    <message>
        <source>Glossy Mode</source>
        <translation>Mode brillant</translation>
    </message>
    <message>
        <source>Image Edge Enhancement</source>
        <translation>Renforcement des contours de l'image</translation>
    </message>
    <message>
        <source>Text Edge Enhancement</source>
        <translation>Renforcement des contours du texte</translation>
    </message>
    <message>
        <source>Graphics Edge Enhancement</source>
        <translation>Renforcement des contours des graphiques</translation>
    </message>
    <message>
        <source>Standard</source>
        <translation>Standard</translation>
    </message>
    <message>
        <source>Vivid</source>
        <translation>Vif</translation>
    </message>
    <message>
        <source>Photo</source>
        <translation>Photo</translation>
    </message>
    <message>
        <source>Custom</source>
        <translation>Personnalisé</translation>
    </message>
    <message>
        <source>Lightest</source>
        <translation>Le plus clair</translation>
    </message>
    <message>
        <source>Lighter</source>
        <translation>Plus clair</translation>
    </message>
    <message>
        <source>Normal</source>
        <translation>Normal</translation>
    </message>
    <message>
        <source>Darker</source>
        <translation>Plus foncé</translation>
    </message>
    <message>
        <source>Darkest</source>
        <translation>Le plus foncé</translation>
    </message>
    <message>
        <source>On</source>
        <translation>Activé</translation>
    </message>
    <message>
        <source>Off</source>
        <translation>Désactivé</translation>
    </message>
    <message>
        <source>Thin</source>
        <translation>Fin</translation>
    </message>
    <message>
        <source>Thick</source>
        <translation>Épais</translation>
    </message>
    <message>
        <source>None</source>
        <translation>Aucun</translation>
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
        <translation>RVB du moniteur</translation>
    </message>
    <message>
        <source>Perceptual</source>
        <translation>Perceptif</translation>
    </message>
    <message>
        <source>Saturation</source>
        <translation>Saturation</translation>
    </message>
    <message>
        <source>Relative Colorimetric</source>
        <translation>Colorimétrie relative</translation>
    </message>
    <message>
        <source>Black Only</source>
        <translation>Noir uniquement</translation>
    </message>
    <message>
        <source>Composite CMYK</source>
        <translation>CMJN composite</translation>
    </message>
    <message>
        <source>Auto</source>
        <translation>Automatique</translation>
    </message>
    <message>
        <source>Detail</source>
        <translation>Détail</translation>
    </message>
    <message>
        <source>Smooth</source>
        <translation>Lisse</translation>
    </message>
    <message>
        <source>Stochastic</source>
        <translation>Stochastique</translation>
    </message>
    <message>
        <source>SWOP</source>
        <translation>SWOP</translation>
    </message>
    <message>
        <source>Euroscale</source>
        <translation>Euroscale</translation>
    </message>
    <message>
        <source>Japan Color</source>
        <translation>Japan Color</translation>
    </message>
    <message>
        <source>Media Size</source>
        <translation>Format du support</translation>
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
