<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="en_US">
<context>
    <name>Localizable</name>
    <message>
        <source>Color Options</source>
        <translation>Color Options</translation>
    </message>
    <message>
        <source>Quick Color</source>
        <translation>Quick Color</translation>
    </message>
    <message>
        <source>Quick Color:</source>
        <translation>Quick Color:</translation>
    </message>
    <message>
        <source>Brightness</source>
        <translation>Brightness</translation>
    </message>
    <message>
        <source>Brightness:</source>
        <translation>Brightness:</translation>
    </message>
    <message>
        <source>Color as Grayscale</source>
        <translation>Color as Grayscale</translation>
    </message>
    <message>
        <source>Color Separation</source>
        <translation>Color Separation</translation>
    </message>
    <message>
        <source>EconoMode</source>
        <translation>EconoMode</translation>
    </message>
    <message>
        <source>EdgeType</source>
        <translation>EdgeType</translation>
    </message>
    <message>
        <source>EdgeType:</source>
        <translation>EdgeType:</translation>
    </message>
    <message>
        <source>GlossyMode</source>
        <translation>GlossyMode</translation>
    </message>
    <message>
        <source>Advanced Color Options</source>
        <translation>Advanced Color Options</translation>
    </message>
    <message>
        <source>Image</source>
        <translation>Image</translation>
    </message>
    <message>
        <source>Text</source>
        <translation>Text</translation>
    </message>
    <message>
        <source>Graphics</source>
        <translation>Graphics</translation>
    </message>
    <message>
        <source>Simulation</source>
        <translation>Simulation</translation>
    </message>
    <message>
        <source>RGB Source:</source>
        <translation>RGB Source:</translation>
    </message>
    <message>
        <source>RGB Intent:</source>
        <translation>RGB Intent:</translation>
    </message>
    <message>
        <source>RGB Gray Treatment:</source>
        <translation>RGB Gray Treatment:</translation>
    </message>
    <message>
        <source>Destination Profile:</source>
        <translation>Destination Profile:</translation>
    </message>
    <message>
        <source>Halftone:</source>
        <translation>Halftone:</translation>
    </message>
    <message>
        <source>EdgeEnhance:</source>
        <translation>EdgeEnhance:</translation>
    </message>
    <message>
        <source>Simulation Profile:</source>
        <translation>Simulation Profile:</translation>
    </message>
    <message>
        <source>Match Paper Color:</source>
        <translation>Match Paper Color:</translation>
    </message>
    <message>
        <source>CMYK Gray Treatment:</source>
        <translation>CMYK Gray Treatment:</translation>
    </message>
    <message>
        <source>Management Profile</source>
        <translation>Management Profile</translation>
    </message>
    <message>
        <source>Resource Loader</source>
        <translation>Resource Loader</translation>
    </message>
    <message>
        <source>Hide Advanced Options</source>
        <translation>Hide Advanced Options</translation>
    </message>
    <message>
        <source>Disk</source>
        <translation>Disk</translation>
    </message>
    <message>
        <source>Card</source>
        <translation>Card</translation>
    </message>
    <message>
        <source>Simulation Profile</source>
        <translation>Simulation Profile</translation>
    </message>
    <message>
        <source>Match Paper Color</source>
        <translation>Match Paper Color</translation>
    </message>
    <message>
        <source>CMYK Gray Treatment</source>
        <translation>CMYK Gray Treatment</translation>
    </message>
    <message>
        <source>Image RGB Source</source>
        <translation>Image RGB Source</translation>
    </message>
    <message>
        <source>Image RGB Intent</source>
        <translation>Image RGB Intent</translation>
    </message>
    <message>
        <source>Image RGB Gray Treatment</source>
        <translation>Image RGB Gray Treatment</translation>
    </message>
    <message>
        <source>Image Destination Profile</source>
        <translation>Image Destination Profile</translation>
    </message>
    <message>
        <source>Image Halftone</source>
        <translation>Image Halftone</translation>
    </message>
    <message>
        <source>Image EdgeEnhance</source>
        <translation>Image EdgeEnhance</translation>
    </message>
    <message>
        <source>Text RGB Source</source>
        <translation>Text RGB Source</translation>
    </message>
    <message>
        <source>Text RGB Intent</source>
        <translation>Text RGB Intent</translation>
    </message>
    <message>
        <source>Text RGB Gray Treatment</source>
        <translation>Text RGB Gray Treatment</translation>
    </message>
    <message>
        <source>Text Destination Profile</source>
        <translation>Text Destination Profile</translation>
    </message>
    <message>
        <source>Text Halftone</source>
        <translation>Text Halftone</translation>
    </message>
    <message>
        <source>Text EdgeEnhance</source>
        <translation>Text EdgeEnhance</translation>
    </message>
    <message>
        <source>Graphics RGB Source</source>
        <translation>Graphics RGB Source</translation>
    </message>
    <message>
        <source>Graphics RGB Intent</source>
        <translation>Graphics RGB Intent</translation>
    </message>
    <message>
        <source>Graphics RGB Gray Treatment</source>
        <translation>Graphics RGB Gray Treatment</translation>
    </message>
    <message>
        <source>Graphics Destination Profile</source>
        <translation>Graphics Destination Profile</translation>
    </message>
    <message>
        <source>Graphics Halftone</source>
        <translation>Graphics Halftone</translation>
    </message>
    <message>
        <source>Graphics EdgeEnhance</source>
        <translation>Graphics EdgeEnhance</translation>
    </message>
    <message>
        <source>ProfileTitle</source>
        <translation>Profile Management</translation>
    </message>
    <message>
        <source>Profile Type:</source>
        <translation>Profile Type:</translation>
    </message>
    <message>
        <source>RGB Source Profiles</source>
        <translation>RGB Source Profiles</translation>
    </message>
    <message>
        <source>Simulation Profiles</source>
        <translation>Simulation Profiles</translation>
    </message>
    <message>
        <source>Destination Profiles</source>
        <translation>Destination Profiles</translation>
    </message>
    <message>
        <source>Add</source>
        <translation>Add</translation>
    </message>
    <message>
        <source>Edit</source>
        <translation>Edit</translation>
    </message>
    <message>
        <source>Delete</source>
        <translation>Delete</translation>
    </message>
    <message>
        <source>Profile Settings</source>
        <translation>Profile Settings</translation>
    </message>
    <message>
        <source>File Name:</source>
        <translation>File Name:</translation>
    </message>
    <message>
        <source>Browse...</source>
        <translation>Browse...</translation>
    </message>
    <message>
        <source>Profile Name:</source>
        <translation>Profile Name:</translation>
    </message>
    <message>
        <source>Location:</source>
        <translation>Location:</translation>
    </message>
    <message>
        <source>Cancel</source>
        <translation>Cancel</translation>
    </message>
    <message>
        <source>OK</source>
        <translation>OK</translation>
    </message>
    <message>
        <source>File Name</source>
        <translation>File Name</translation>
    </message>
    <message>
        <source>Profile Name</source>
        <translation>Profile Name</translation>
    </message>
    <message>
        <source>Location</source>
        <translation>Location</translation>
    </message>
    <message>
        <source>Menu</source>
        <translation>Menu</translation>
    </message>
    <message>
        <source>ProfileWriteFailed</source>
        <translation>The profile lists could not be saved: the profile service did not write the list file. Your changes are still here; press OK to try again or Cancel to discard them.</translation>
    </message>
    <message>
        <source>StopWaiting</source>
        <translation>Stop waiting</translation>
    </message>
    <message>
        <source>Looking for colour profiles on the printer…</source>
        <translation>Looking for colour profiles on the printer…</translation>
    </message>
    <message>
        <source>Saving the profile list…</source>
        <translation>Saving the profile list…</translation>
    </message>
    <message>
        <source>Asking the profile service…</source>
        <translation>Asking the profile service…</translation>
    </message>
    <message>
        <source>Economy Mode</source>
        <translation>Economy Mode</translation>
    </message>
    <message>
        <source>Edge Type</source>
        <translation>Edge Type</translation>
    </message>
    <message>
        <source>Glossy Mode</source>
        <translation>Glossy Mode</translation>
    </message>
    <message>
        <source>Image Edge Enhancement</source>
        <translation>Image Edge Enhancement</translation>
    </message>
    <message>
        <source>Text Edge Enhancement</source>
        <translation>Text Edge Enhancement</translation>
    </message>
    <message>
        <source>Graphics Edge Enhancement</source>
        <translation>Graphics Edge Enhancement</translation>
    </message>
    <message>
        <source>Standard</source>
        <translation>Standard</translation>
    </message>
    <message>
        <source>Vivid</source>
        <translation>Vivid</translation>
    </message>
    <message>
        <source>Photo</source>
        <translation>Photo</translation>
    </message>
    <message>
        <source>Custom</source>
        <translation>Custom</translation>
    </message>
    <message>
        <source>Lightest</source>
        <translation>Lightest</translation>
    </message>
    <message>
        <source>Lighter</source>
        <translation>Lighter</translation>
    </message>
    <message>
        <source>Normal</source>
        <translation>Normal</translation>
    </message>
    <message>
        <source>Darker</source>
        <translation>Darker</translation>
    </message>
    <message>
        <source>Darkest</source>
        <translation>Darkest</translation>
    </message>
    <message>
        <source>On</source>
        <translation>On</translation>
    </message>
    <message>
        <source>Off</source>
        <translation>Off</translation>
    </message>
    <message>
        <source>Thin</source>
        <translation>Thin</translation>
    </message>
    <message>
        <source>Thick</source>
        <translation>Thick</translation>
    </message>
    <message>
        <source>None</source>
        <translation>None</translation>
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
        <translation>Monitor RGB</translation>
    </message>
    <message>
        <source>Perceptual</source>
        <translation>Perceptual</translation>
    </message>
    <message>
        <source>Saturation</source>
        <translation>Saturation</translation>
    </message>
    <message>
        <source>Relative Colorimetric</source>
        <translation>Relative Colorimetric</translation>
    </message>
    <message>
        <source>Black Only</source>
        <translation>Black Only</translation>
    </message>
    <message>
        <source>Composite CMYK</source>
        <translation>Composite CMYK</translation>
    </message>
    <message>
        <source>Auto</source>
        <translation>Auto</translation>
    </message>
    <message>
        <source>Detail</source>
        <translation>Detail</translation>
    </message>
    <message>
        <source>Smooth</source>
        <translation>Smooth</translation>
    </message>
    <message>
        <source>Stochastic</source>
        <translation>Stochastic</translation>
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
        <translation>Media Size</translation>
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
