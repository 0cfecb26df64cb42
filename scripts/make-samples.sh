#!/usr/bin/env bash
# Makes a folder of sample pictures, one of each kind the converter meets:
# every readable format and its common variants (phone and web pictures
# among them), a JPEG carrying EXIF and a colour profile, a file it has no
# reader for, a damaged file and a file named after another format.
#   make-samples.sh FOLDER [WIDTHxHEIGHT]
set -euo pipefail

folder=$1
size=${2:-800x600}
magick=/usr/bin/convert   # ImageMagick itself, not a wrapper earlier on PATH

mkdir -p "$folder"
cd "$folder"
rm -f ./*

$magick -size "$size" -seed 7 plasma:fractal -blur 0x1 -depth 8 photo.png
$magick -size "$size" -seed 7 plasma:fractal -depth 16 deep.png
$magick photo.png -quality 92 photo.jpg
$magick photo.png -type TrueColor BMP3:photo.bmp
$magick photo.png -compress lzw photo.tif
$magick photo.png -type TrueColor photo.pcx
$magick photo.png -colors 200 -type Palette palette.pcx
$magick photo.png -type Grayscale gray.png
$magick photo.png -alpha set -channel A -evaluate set 60% +channel alpha.png
# Photo CD image pacs hold several resolutions; a real one is a few MiB.
$magick photo.png -resize 768x512! photo.pcd
truncate -s 1200000 photo.pcd
$magick photo.png -type Palette BMP3:eight-bit.bmp
$magick photo.png photo.gif
$magick photo.png -colorspace CMYK -quality 92 cmyk.jpg
# A camera's orientation (turned right) and date, and an sRGB profile.
$magick photo.png -profile /usr/share/color/icc/sRGB.icc -quality 92 exif-profile.jpg
exiftool -q -overwrite_original -Orientation#=6 -DateTimeOriginal='2024:05:01 10:30:00' exif-profile.jpg
# A phone's pictures, with the date taken: a HEIC, and an AVIF stored turned
# a quarter with the rotation that sets it upright (and the camera's
# Orientation 6); a web page's WebP with alpha.
$magick photo.png -quality 92 phone.jpg
exiftool -q -overwrite_original -DateTimeOriginal='2024:05:01 10:30:00' phone.jpg
heif-enc -q 85 -o phone.heic phone.jpg >/dev/null
$magick photo.png -rotate -90 -quality 92 turned.jpg
exiftool -q -overwrite_original -Orientation#=6 -DateTimeOriginal='2024:05:01 10:30:00' turned.jpg
avifenc turned.jpg phone.avif >/dev/null
rm phone.jpg turned.jpg
cwebp -quiet -q 85 alpha.png -o web.webp
# Files the converter must refuse or report.
head -c 20000 photo.jpg > truncated.jpg
cp photo.jpg looks-like.gif
printf 'not a picture\n' > notes.txt
ls -1
