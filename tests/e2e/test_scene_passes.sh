#!/usr/bin/env bash
# What a person sees of the scene's passes, measured on pictures of the
# default data set: the shadow falls away from the light, the reflection
# lies below the ground, F9 to F12 and F4 do what they say.
. "$(dirname "$0")/lib.sh"
kx_start_xvfb || exit 1
data=$(kx_data_copy)
kx_launch "$data" KX-E2E-Scene --port 0 || { kx_fail "la fenêtre n'apparaît pas"; kx_finish; }
kx_connect || { kx_fail "pas de connexion au port de commande"; kx_finish; }
wid=$KX_WID
W="$KX_WORK"
shot() { kx_shot "$1" || kx_fail "image $1"; }
toggle() { kx_key "$wid" "$@"; }
same() { kx_lt "$(kx_difference "$W/$1.png" "$W/$2.png")" 0.002; }

# The world origin, the foot of the arm, projects from the start camera onto
# (400, 277) of the 800x600 picture; +x runs to the left, +y up the screen.
shot default
toggle F11; shot noshadow; toggle F11
toggle F10; shot noreflect
toggle F12; shot noreflect-metal
toggle F11; shot noreflect-metal-noshadow; toggle F11
toggle F12; toggle F10
toggle F12; shot metal; toggle F12
toggle F4; shot axes; toggle F4
shot default-again

kx_check "les touches reviennent à l'image de départ" kx_lt "$(kx_difference "$W/default.png" "$W/default-again.png")" 0.002

# The shadow: a dark patch on the ground, away from the light (1, 1, 1.2),
# so to the right of the foot and up the screen.
kx_darker_mask "$W/default.png" "$W/noshadow.png" "$W/shadow-mask.png"
kx_check "l'ombre assombrit le sol" kx_lt 0.01 "$(convert "$W/shadow-mask.png" -format "%[fx:mean]" info:)"
read -r sx sy < <(kx_centroid "$W/shadow-mask.png")
kx_check "l'ombre tombe à l'opposé de la lumière (x $sx > 400)" kx_lt 400 "$sx"
kx_check "l'ombre tombe à l'opposé de la lumière (y $sy < 277)" kx_lt "$sy" 277
kx_check "l'ombre est sombre" kx_lt "$(kx_masked_mean "$W/default.png" "$W/shadow-mask.png")" "$(kx_masked_mean "$W/noshadow.png" "$W/shadow-mask.png")"

# The reflection: what F10 takes away lies below the foot of the arm. It is
# blended into the floor, as on polished concrete: where it lies the floor
# changes by well under what an opaque copy of the arm would make (0.3 on
# average), so the floor's texture shows through.
convert "$W/default.png" "$W/noreflect.png" -compose difference -composite -colorspace Gray "$W/reflect-change.png"
convert "$W/reflect-change.png" -threshold 8% "$W/reflect-mask.png"
kx_check "le reflet se voit" kx_lt 0.003 "$(convert "$W/reflect-mask.png" -format "%[fx:mean]" info:)"
read -r rx ry < <(kx_centroid "$W/reflect-mask.png")
kx_check "le reflet est sous le sol (y $ry > 277)" kx_lt 277 "$ry"
kx_check "le sol se voit à travers le reflet" kx_lt "$(kx_masked_mean "$W/reflect-change.png" "$W/reflect-mask.png")" 0.22

# The metal look changes the arm, not the black shadow (checked without the
# reflection, which lies partly over the shadow and takes the look too).
kx_check "F12 change l'aspect du bras" kx_lt 0.002 "$(kx_difference "$W/default.png" "$W/metal.png")"
convert "$W/default.png" "$W/metal.png" -compose difference -composite "$W/metal-change.png"
kx_check "F12 change aussi le reflet" kx_lt 0.01 "$(kx_masked_mean "$W/metal-change.png" "$W/reflect-mask.png")"
kx_darker_mask "$W/noreflect-metal.png" "$W/noreflect-metal-noshadow.png" "$W/metal-shadow-mask.png"
m1=$(kx_masked_mean "$W/noreflect.png" "$W/metal-shadow-mask.png")
m2=$(kx_masked_mean "$W/noreflect-metal.png" "$W/metal-shadow-mask.png")
kx_check "l'ombre reste la même avec l'aspect métal ($m1, $m2)" kx_lt "$(awk -v a="$m1" -v b="$m2" 'BEGIN { d = a - b; print (d < 0 ? -d : d) }')" 0.01

# F4: seven sets of blue, green and red axes.
kx_check "pas d'axes au départ" kx_lt "$(kx_axis_colour_fraction "$W/default.png")" 0.0005
kx_check "F4 montre les axes" kx_lt 0.002 "$(kx_axis_colour_fraction "$W/axes.png")"

# F9 hides the decoration: the arm alone on black, its reflection gone with
# the floor it belongs to, so F10 then changes nothing; F9 again brings
# the floor and the reflection back.
toggle F9; shot nodecor
toggle F10; shot alone
toggle F9; toggle F10
nodecor=$(convert "$W/nodecor.png" -threshold 2% -format "%[fx:mean]" info:)
kx_check "F9: le fond est noir" kx_lt "$nodecor" 0.3
kx_check "F9: pas de reflet dans le vide, F10 n'y change rien" same nodecor alone
kx_check "F9: noir sous le pied du bras" kx_lt "$(kx_mean "$W/nodecor.png" 200x120+300+330)" 0.01
shot back
kx_check "F9 encore : le sol et le reflet reviennent" same back default

# Tilt the view up with a drag until the sky shows in the top of the
# picture: F9 leaves black there.
kx_drag "$wid" 400 400 400 250
shot sky
kx_check "le ciel se voit en haut" kx_lt 0.2 "$(kx_mean "$W/sky.png" 800x40+0+0)"
toggle F9; shot sky-nodecor; toggle F9
kx_check "F9: noir où était le ciel" kx_lt "$(kx_mean "$W/sky-nodecor.png" 800x40+0+0)" 0.01

# The camera keys: Home brings back the start view; Left moves the picture.
toggle Home; shot home
kx_check "Home rend la vue de départ" kx_lt "$(kx_difference "$W/default.png" "$W/home.png")" 0.002
toggle Left Left Left; shot left
kx_check "Gauche déplace la caméra" kx_lt 0.01 "$(kx_difference "$W/home.png" "$W/left.png")"

toggle Escape
kx_wait_exit 10
kx_check "Escape: statut 0" kx_eq "$KX_EXIT_STATUS" 0
kx_finish
