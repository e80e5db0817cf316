#!/usr/bin/env bash
# Draws the installer's pictures with ImageMagick: the left banner (172 x 351),
# the top banner (377 x 70), both JPEG, in the colours of the launcher's About
# picture, and the 16-pixel arrow of the Continue and Install buttons.
set -euo pipefail
cd "$(dirname "$0")"
CONVERT=/usr/bin/convert

# Left banner: dark blue gradient, a film strip down the side, the name.
holes=""
for k in $(seq 0 15); do
    y=$((6 + k * 22))
    holes+="roundrectangle 132,$y 142,$((y + 10)) 2,2 roundrectangle 156,$y 166,$((y + 10)) 2,2 "
done
frames=""
for k in $(seq 0 4); do
    y=$((16 + k * 68))
    frames+="roundrectangle 146,$y 152,$((y + 56)) 1,1 "
done
$CONVERT -size 172x351 gradient:'#2b416f-#0a0e18' \
    -fill '#05070c' -draw "rectangle 128,0 171,350" \
    -fill '#3a4256' -draw "$holes" \
    -fill '#1f3b6e' -draw "$frames" \
    -fill '#ffffff10' -draw "polygon 18,200 18,330 110,265" \
    -font DejaVu-Sans-Bold -pointsize 20 -fill '#00000080' -annotate +15+47 'Quorvane' \
    -fill '#f4f6fa' -annotate +13+45 'Quorvane' \
    -font DejaVu-Sans -pointsize 13 -fill '#f59c24' -annotate +14+68 'Installer' \
    -fill '#b8c2d6' -pointsize 10 -annotate +14+96 'Demo workbench' \
    -annotate +14+110 'for Battlefield 2' \
    -strip -interlace none -sampling-factor 2x2 -quality 92 banner_left.jpg

# Top banner: white with a thin orange rule and a faint play mark.
$CONVERT -size 377x70 gradient:'#ffffff-#eef1f6' \
    -fill '#f59c24' -draw "rectangle 0,66 376,69" \
    -fill '#2b416f20' -draw "polygon 330,10 330,58 366,34" \
    -font DejaVu-Sans-Bold -pointsize 15 -fill '#1f2a44' -annotate +12+30 'Quorvane Setup' \
    -font DejaVu-Sans -pointsize 10 -fill '#5a6478' -annotate +12+50 'Install the launcher and its files' \
    -strip -interlace none -sampling-factor 2x2 -quality 92 banner_top.jpg

# The button arrow: an orange triangle pointing right, on transparency.
$CONVERT -size 16x16 xc:none -fill '#f59c24' -stroke '#d66c14' -strokewidth 1 \
    -draw "polygon 5,3 5,12 12,7.5" -strip PNG32:next.png
