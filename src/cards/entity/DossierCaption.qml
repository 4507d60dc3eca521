import Halvic.Panels

// The dossier's smaller, quieter text.
DossierText {
    font.pixelSize: HalvicStyle.captionSize
    color: HalvicStyle.secondary
}
