#!/usr/bin/env bash
# Makes the small media the engine tests play, into the folder given (default
# build/test-media). Everything is generated: test pictures and tones from ffmpeg, a DVD
# folder with a menu from dvdauthor and spumux. Files already there are kept, so a
# second run costs nothing.
set -euo pipefail
out=${1:-build/test-media}
mkdir -p "$out"
cd "$out"
ff() { ffmpeg -hide_banner -loglevel error -nostdin -y "$@"; }
have() { [ -s "$1" ]; }

have subs.srt || cat > subs.srt <<'SRT'
1
00:00:00,200 --> 00:00:02,000
First subtitle line

2
00:00:02,200 --> 00:00:04,000
Second subtitle line
SRT

# 4 s of H.264 + AAC, 320x240: the everyday file.
have video.mp4 || ff -f lavfi -i testsrc=size=320x240:rate=25:duration=4 \
  -f lavfi -i sine=frequency=440:sample_rate=44100:duration=4 \
  -c:v libx264 -preset veryfast -g 25 -pix_fmt yuv420p -c:a aac -b:a 64k -shortest video.mp4

# Three two-second clips for play sequences.
for n in 1 2 3; do
  have "short$n.mp4" || ff -f lavfi -i "testsrc=size=320x240:rate=25:duration=2" \
    -c:v libx264 -preset veryfast -g 25 -pix_fmt yuv420p "short$n.mp4"
done

# Long enough to stop in the middle.
have long.mp4 || ff -f lavfi -i "testsrc=size=320x240:rate=25:duration=8" \
  -c:v libx264 -preset veryfast -g 25 -pix_fmt yuv420p long.mp4

# 20 s with sound: room for seeks by ten seconds, a volume to change.
have long_sound.mp4 || ff -f lavfi -i testsrc=size=320x240:rate=25:duration=20 \
  -f lavfi -i sine=frequency=440:sample_rate=44100:duration=20 \
  -c:v libx264 -preset veryfast -g 25 -pix_fmt yuv420p -c:a aac -b:a 64k -shortest long_sound.mp4

# Stored 320x240, shown 16:9.
have video_169.mp4 || ff -i video.mp4 -c copy -aspect 16:9 video_169.mp4

# Two audio languages and an embedded subtitle.
have multi.mkv || ff -f lavfi -i testsrc2=size=320x240:rate=25:duration=3 \
  -f lavfi -i sine=frequency=440:sample_rate=48000:duration=3 \
  -f lavfi -i sine=frequency=880:sample_rate=48000:duration=3 \
  -i subs.srt -map 0:v -map 1:a -map 2:a -map 3:s \
  -c:v libx264 -preset veryfast -pix_fmt yuv420p -c:a aac -b:a 64k -c:s srt \
  -metadata:s:a:0 language=eng -metadata:s:a:1 language=fra -metadata:s:s:0 language=ger multi.mkv

# Two audio tracks, long enough to choose one and start the engine again.
have two_audio.mkv || ff -stream_loop 6 -i multi.mkv -map 0:v -map 0:a -c copy two_audio.mkv

# Audio only, stereo and mono.
have audio.ogg || ff -f lavfi -i sine=frequency=440:sample_rate=44100:duration=3 -c:a libvorbis audio.ogg
have mono.wav || ff -f lavfi -i sine=frequency=440:sample_rate=44100:duration=3 -ac 1 -c:a pcm_s16le mono.wav

# The same clip under names a shell would misread.
for name in "name with spaces é.mp4" "quote'and\"double.mp4" '$(touch pwned).mp4' \
            '`touch pwned2`.mp4' "-leading-dash.mp4" $'latin1-\xe9t\xe9.mp4'; do
  [ -e "$name" ] || cp video.mp4 "./$name"
done

# A DVD folder: a menu with one button, title 1 (12 s, chapters at 0, 4 and 8 s, audio
# in English and French, a German subtitle), title 2 (4 s). The marker file names this
# make of the disc, so that an older one is made again.
if [ ! -e dvd/made-3 ]; then
  rm -rf dvd dvdsrc
  mkdir -p dvdsrc
  ff -f lavfi -i testsrc=size=720x576:rate=25:duration=12 \
    -f lavfi -i sine=frequency=440:sample_rate=48000:duration=12 \
    -f lavfi -i sine=frequency=660:sample_rate=48000:duration=12 \
    -map 0:v -map 1:a -map 2:a -target pal-dvd -aspect 4:3 -b:v 1500k dvdsrc/title1.mpg
  ff -f lavfi -i smptebars=size=720x576:rate=25:duration=4 \
    -f lavfi -i sine=frequency=330:sample_rate=48000:duration=4 \
    -target pal-dvd -aspect 4:3 -b:v 1500k dvdsrc/title2.mpg
  convert -size 720x576 xc:'#203050' -fill white -pointsize 40 -annotate +180+220 'Orvella test disc' \
    -fill '#ffd040' -annotate +300+330 'Play' dvdsrc/menu_bg.png
  ff -loop 1 -i dvdsrc/menu_bg.png -f lavfi -i anullsrc=r=48000:cl=stereo -t 1 \
    -target pal-dvd -aspect 4:3 dvdsrc/menu_raw.mpg
  convert -size 720x576 xc:none -fill none -stroke red -strokewidth 4 \
    -draw 'rectangle 260,280 440,350' -type Palette -depth 8 +antialias dvdsrc/menu_hl.png
  cat > dvdsrc/buttons.xml <<'XML'
<subpictures>
  <stream>
    <spu force="yes" start="00:00:00.00" highlight="menu_hl.png" select="menu_hl.png">
      <button name="1" x0="260" y0="280" x1="440" y1="350"/>
    </spu>
  </stream>
</subpictures>
XML
  (cd dvdsrc && spumux -m dvd buttons.xml < menu_raw.mpg > menu.mpg 2>/dev/null)
  # The German subtitle: a text subtitle drawn into a sub-picture stream of title 1.
  printf '1\n00:00:00,500 --> 00:00:03,500\nUntertitel eins\n\n2\n00:00:05,000 --> 00:00:08,000\nUntertitel zwei\n' \
    >dvdsrc/de.srt
  cat > dvdsrc/subs.xml <<'XML'
<subpictures format="PAL">
  <stream>
    <textsub filename="de.srt" characterset="UTF-8" fontsize="28.0"
             font="/usr/share/fonts/truetype/dejavu/DejaVuSans.ttf" horizontal-alignment="center"
             vertical-alignment="bottom" movie-width="720" movie-height="576"/>
  </stream>
</subpictures>
XML
  (cd dvdsrc && spumux -m dvd -s 0 subs.xml < title1.mpg > title1_sub.mpg 2>/dev/null)
  cat > dvdsrc/disc.xml <<'XML'
<dvdauthor dest="../dvd">
  <vmgm><fpc>jump titleset 1 menu;</fpc></vmgm>
  <titleset>
    <menus>
      <video format="pal" aspect="4:3"/>
      <pgc entry="root">
        <button>jump title 1;</button>
        <vob file="menu.mpg" pause="inf"/>
      </pgc>
    </menus>
    <titles>
      <video format="pal" aspect="4:3"/>
      <audio lang="en"/>
      <audio lang="fr"/>
      <subpicture lang="de"/>
      <pgc>
        <vob file="title1_sub.mpg" chapters="0,0:04,0:08"/>
        <post>jump title 2;</post>
      </pgc>
      <pgc>
        <vob file="title2.mpg"/>
        <post>call menu;</post>
      </pgc>
    </titles>
  </titleset>
</dvdauthor>
XML
  (cd dvdsrc && VIDEO_FORMAT=PAL dvdauthor -x disc.xml >/dev/null 2>&1)
  rm -rf dvdsrc
  touch dvd/made-3
fi

# The same disc as an image file, as a burning program writes it (UDF, as players read it).
if ! have dvd.iso && command -v genisoimage >/dev/null; then
  genisoimage -quiet -dvd-video -V ORVELLA -m made-3 -o dvd.iso.part dvd && mv dvd.iso.part dvd.iso
fi

# Chapters with names, as a Matroska file carries them.
if ! have chapters.mkv; then
  printf ';FFMETADATA1\n[CHAPTER]\nTIMEBASE=1/1000\nSTART=0\nEND=4000\ntitle=Intro\n[CHAPTER]\nTIMEBASE=1/1000\nSTART=4000\nEND=8000\ntitle=Middle\n[CHAPTER]\nTIMEBASE=1/1000\nSTART=8000\nEND=12000\n' >chapters.txt
  ff -f lavfi -i testsrc=size=320x240:rate=25:duration=12 \
    -f lavfi -i sine=frequency=440:sample_rate=48000:duration=12 \
    -i chapters.txt -map 0:v -map 1:a -map_metadata 2 -map_chapters 2 \
    -c:v libx264 -preset veryfast -g 25 -pix_fmt yuv420p -c:a aac -b:a 64k chapters.mkv
  rm -f chapters.txt
fi

# A colour in each corner (red, green / blue, yellow) and a subtitle line all along: how a
# rotation turns the picture, and whether the subtitle stays upright.
have corners.srt || printf '1\n00:00:00,000 --> 00:00:30,000\nAn upright subtitle line\n' >corners.srt
have corners.mp4 || ff -f lavfi -i "color=c=0x303030:size=320x240:rate=25:duration=30,drawbox=w=48:h=36:c=red:t=fill,\
drawbox=x=272:w=48:h=36:c=lime:t=fill,drawbox=y=204:w=48:h=36:c=blue:t=fill,drawbox=x=272:y=204:w=48:h=36:c=yellow:t=fill" \
  -c:v libx264 -preset veryfast -pix_fmt yuv420p corners.mp4
