#include "sim/DisplaySwitches.h"

const DisplaySwitch kDisplaySwitches[kDisplayFlagCount] = {
    {DisplayFlag::WireFrame, "strWireFrameMode", "WF", 5, "wireframe", "Fil de fer : les arêtes seules (F5).", false},
    {DisplayFlag::Decoration, "strDecoration", "DC", 9, "decor", "Décor : sol, grille et ciel (F9).", true},
    {DisplayFlag::Reflect, "strReflect", "RF", 10, "reflect", "Reflet du bras sur le sol (F10).", true},
    {DisplayFlag::Shadows, "strShadows", "SH", 11, "shadows", "Ombre du bras sur le sol, avec le décor (F11).", true},
    {DisplayFlag::MetalLook, "strMetalLook", "SM", 12, "metal",
     "Aspect métal : le bras reflète son environnement (F12).", false},
    {DisplayFlag::Axes, "strAxes", "Repères", 4, "axes", "Repères de chaque segment : x bleu, y vert, z rouge (F4).",
     false},
    {DisplayFlag::Orbit, "strOrbit", "Orbite", 0, "orbit",
     "Orbite : glisser tourne la vue autour du bras et l'incline, la molette rapproche ou éloigne ; les flèches "
     "tournent et rapprochent, Page haut et Page bas inclinent, Début revient à la vue de départ.",
     false},
    {DisplayFlag::Trail, "strTrail", "Trace", 0, "trail",
     "Trace : le chemin du centre du poignet dans chaque mouvement fait depuis que la trace est montrée ou "
     "effacée (trail clear), une marque par seconde.",
     false},
    {DisplayFlag::Configurations, "strConfigurations", "Configurations", 0, "configurations",
     "Configurations : les autres configurations de la pose du bras en fantômes numérotés, en rouge hors des "
     "limites.",
     false},
    {DisplayFlag::Collisions, "strCollisions", "Collisions", 0, "collisions",
     "Collisions : en rouge les segments du bras et les objets de la cellule qui se touchent, et les configurations "
     "en fantômes qui touchent quelque chose.",
     false, "bShowCollisions"},
    {DisplayFlag::Frames, "strFrames", "Repères de travail", 0, "frames",
     "Repères de travail : le repère de l'outil en petits axes à son point, et chaque repère utilisateur en axes "
     "nommés.",
     false, "bShowFrames"},
    {DisplayFlag::Points, "strPoints", "Points", 0, "points",
     "Points : chaque point appris en petits axes nommés, là où il met le point de l'outil.", false, "bShowPoints"},
};

const DisplaySwitch* SwitchOfKey(int functionKey)
{
    for (const DisplaySwitch& s : kDisplaySwitches)
        if (s.functionKey != 0 && s.functionKey == functionKey)
            return &s;
    return nullptr;
}

DisplayFlags::DisplayFlags()
{
    for (const DisplaySwitch& s : kDisplaySwitches)
        (*this)[s.flag] = s.initial;
}
