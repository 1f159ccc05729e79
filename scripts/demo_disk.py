#!/usr/bin/env python3
"""Material of the demo disk: songs, texts, pictures, pages and the manifest
that `qlmdisk write` turns into qlm.cfg. Called by make-demo-disk.sh."""
import json
import os
import shutil
import subprocess
import sys

from PIL import Image, ImageDraw, ImageFont

disk, work = sys.argv[1], sys.argv[2]
FONT = "/usr/share/fonts/truetype/dejavu/DejaVuSans.ttf"
BOLD = "/usr/share/fonts/truetype/dejavu/DejaVuSans-Bold.ttf"

# Artist folder -> albums -> songs: (Russian, English) names, voice, melody notes.
ARTISTS = [
    {
        "name": ("Синтетический хор", "Synthetic Choir"),
        "voice": "ru",
        "albums": [
            {"name": ("Времена года", "Seasons"), "dir": "Seasons", "year": "2025", "genre": "Vocal",
             "songs": [("Весна", "Spring"), ("Лето", "Summer"), ("Осень", "Autumn"), ("Зима", "Winter")]},
            {"name": ("Числа", "Numbers"), "dir": "Numbers", "year": "2026", "genre": "Spoken",
             "songs": [("Один", "One"), ("Два", "Two"), ("Три", "Three")]},
        ],
    },
    {
        "name": ("Ночные голоса", "Night Voices"),
        "voice": "en",
        "albums": [
            {"name": ("Ночной город", "Night City"), "dir": "Night City", "year": "2024", "genre": "Ambient",
             "songs": [("Фонари", "Streetlights"), ("Полночный поезд", "Midnight Train"), ("Дождь", "Rain")]},
        ],
    },
]
COMPOSER = ("Иван Демонстров", "Ivan Demonstrov")
NOTES = ["C4", "E4", "G4", "C5", "A3", "D4", "F4", "B3"]


def run(*args):
    subprocess.run(args, check=True, stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)


def cp1251(path, text):
    with open(path, "wb") as f:
        f.write(text.replace("\n", "\r\n").encode("cp1251"))


def make_song(mp3, spoken, voice, seed, tags):
    speech, speech44, melody, song = (os.path.join(work, n) for n in ("s.wav", "s44.wav", "m.wav", "song.wav"))
    run("espeak-ng", "-v", voice, "-s", "135", "-w", speech, spoken)
    run("sox", speech, "-r", "44100", "-c", "2", speech44)
    chain = []
    for i in range(6):
        if chain:
            chain.append(":")
        chain += ["synth", "0.3", "pluck", NOTES[(seed + i * 3) % len(NOTES)], "gain", "-8"]
    run("sox", "-n", "-r", "44100", "-c", "2", melody, *chain)
    run("sox", speech44, melody, song)
    run("lame", "--quiet", "-b", "96", "--id3v2-only", "--id3v2-utf16",
        "--tt", tags["title"], "--ta", tags["artist"], "--tl", tags["album"],
        "--ty", tags["year"], "--tg", tags["genre"], "--tc", tags["comment"], song, mp3)


def rtf(title, lines):
    def esc(s):
        return "".join(c if ord(c) < 128 else "\\'%02x" % c.encode("cp1251")[0] for c in s)
    body = "\\par\n".join(esc(l) for l in lines)
    return ("{\\rtf1\\ansi\\ansicpg1251\\deff0{\\fonttbl{\\f0\\fswiss\\fcharset204 Arial;}}\n"
            "\\f0\\fs28\\b " + esc(title) + "\\b0\\par\\par\n\\fs22 " + body + "\\par}\n")


def htm(title, lines, extra=""):
    body = "<br>\n".join(lines)
    return ("<html><head><meta http-equiv=\"Content-Type\" content=\"text/html; charset=windows-1251\">"
            "<title>%s</title></head>\n<body style=\"font-family:Arial;background:#e2e2e2\">"
            "<h2>%s</h2>\n<p>%s</p>%s</body></html>\n" % (title, title, body, extra))


def picture(path, size, colours, title, caption):
    img = Image.new("RGB", size, colours[0])
    draw = ImageDraw.Draw(img)
    w, h = size
    for i in range(h):  # a vertical gradient between the two colours
        t = i / max(1, h - 1)
        c = tuple(int(colours[0][k] * (1 - t) + colours[1][k] * t) for k in range(3))
        draw.line([(0, i), (w, i)], fill=c)
    for i in range(7):
        r = 20 + i * 18
        draw.ellipse([w * 0.7 - r, h * 0.35 - r, w * 0.7 + r, h * 0.35 + r], outline=(255, 255, 255))
    draw.text((24, h - 110), title, font=ImageFont.truetype(BOLD, 34), fill=(255, 255, 255))
    draw.text((24, h - 60), caption, font=ImageFont.truetype(FONT, 22), fill=(240, 240, 200))
    img.save(path, "JPEG", quality=88)


os.makedirs(os.path.join(disk, "Sound"), exist_ok=True)
tree = []
song_no = 0
for artist in ARTISTS:
    albums = []
    for album in artist["albums"]:
        songs = []
        os.makedirs(os.path.join(disk, "Sound", album["dir"]), exist_ok=True)
        os.makedirs(os.path.join(disk, "Text", album["dir"]), exist_ok=True)
        for i, (ru, en) in enumerate(album["songs"], 1):
            song_no += 1
            base = "%02d %s" % (i, en)
            spoken = ru if artist["voice"] == "ru" else en
            spoken += ". " + ("Песня номер %d." % i if artist["voice"] == "ru" else "Track %d." % i)
            tags = {"title": ru, "artist": artist["name"][0], "album": album["name"][0],
                    "year": album["year"], "genre": album["genre"], "comment": "QLM demo / " + en}
            make_song(os.path.join(disk, "Sound", album["dir"], base + ".mp3"), spoken, artist["voice"], song_no, tags)
            # Song texts in the three kinds the text window shows.
            lines = ["%s (%s)" % (ru, en), "", "Куплет первый: %s." % ru, "Verse one: %s." % en,
                     "Припев: ла-ла-ла.", "Chorus: la-la-la."]
            text_base = os.path.join(disk, "Text", album["dir"], base)
            kind = song_no % 3
            if kind == 0:
                cp1251(text_base + ".txt", "\n".join(lines) + "\n")
            elif kind == 1:
                cp1251(text_base + ".rtf", rtf(ru, lines))
            else:
                cp1251(text_base + ".htm", htm(ru, lines))
            songs.append({"kind": "song", "name": ru, "name2": en, "file": base + ".mp3",
                          "tags": {"Composer": COMPOSER[0], "Composer2": COMPOSER[1],
                                   "Artist": artist["name"][0], "Artist2": artist["name"][1],
                                   "Album": album["name"][0], "Album2": album["name"][1],
                                   "Year": album["year"], "Year2": album["year"],
                                   "Genre": album["genre"], "Genre2": album["genre"]}})
        albums.append({"kind": "folder", "name": album["name"][0], "name2": album["name"][1],
                       "path": album["dir"], "children": songs})
    tree.append({"kind": "folder", "name": artist["name"][0], "name2": artist["name"][1], "children": albums})

# A text entry: the disk's own story, with the first album's first two songs.
cp1251(os.path.join(disk, "Text", "about.txt"),
       "О демонстрационном диске\n\nЭтот диск собран автоматически: песни прочитаны синтезатором речи,\n"
       "картинки нарисованы программой.\n\nThis disk was made automatically: the songs are spoken by a speech\n"
       "synthesiser and the pictures are drawn by a program.\n")
tree.append({"kind": "text", "name": "О диске", "name2": "About this disk",
             "text": {"file": "Text\\about.txt", "values": [1, 2]}})

# Pictures: the title picture and the slides with captions in both languages.
pic = os.path.join(disk, "Picture")
os.makedirs(pic, exist_ok=True)
picture(os.path.join(pic, "title.jpg"), (480, 360), ((30, 40, 90), (120, 40, 80)),
        "QLM Musical Player", "Демонстрационный диск / Demo disk")
slides = [("slide1.jpg", "Весеннее утро", "Spring morning", ((60, 140, 80), (200, 220, 120))),
          ("slide2.jpg", "Летний полдень", "Summer noon", ((250, 180, 40), (220, 80, 40))),
          ("slide3.jpg", "Осенний лес", "Autumn forest", ((140, 70, 20), (60, 30, 10))),
          ("slide4.jpg", "Ночной город", "Night city", ((10, 10, 40), (60, 60, 120)))]
for f, ru, en, colours in slides:
    picture(os.path.join(pic, f), (640, 480), colours, ru, en)

# Pages: announcement, information (with music links) and help, each with an English version.
pages_dir = os.path.join(disk, "Pages")
os.makedirs(os.path.join(pages_dir, "English"), exist_ok=True)
cp1251(os.path.join(pages_dir, "anons.htm"),
       htm("Анонс", ["Скоро выйдет второй демонстрационный диск.", "Следите за новостями!"]))
cp1251(os.path.join(pages_dir, "English", "anons.htm"),
       htm("Coming soon", ["The second demo disk is on its way.", "Stay tuned!"]))
cp1251(os.path.join(pages_dir, "info.htm"),
       htm("О исполнителях", ["Синтетический хор поёт голосом синтезатора речи."],
           "<p><a href=\"*MUSIC 1 1 2\">Послушать песню «Лето»</a><br>"
           "<a href=\"*MUSIC 2 1 1\">Послушать «Фонари»</a></p>"))
cp1251(os.path.join(pages_dir, "English", "info.htm"),
       htm("About the artists", ["The Synthetic Choir sings with a speech synthesiser's voice."],
           "<p><a href=\"*MUSIC 1 1 2\">Listen to \"Summer\"</a><br>"
           "<a href=\"*MUSIC 2 1 1\">Listen to \"Streetlights\"</a></p>"))
cp1251(os.path.join(pages_dir, "help.htm"),
       htm("Помощь", ["Выберите песню в дереве и дважды щёлкните по ней, чтобы она зазвучала.",
                      "Кнопки слева переключают страницы: список, слайды, информация, анонс, помощь."]))
cp1251(os.path.join(pages_dir, "English", "help.htm"),
       htm("Help", ["Double-click a song in the tree to play it.",
                    "The buttons on the left switch pages: list, slides, information, announcement, help."]))
# The help page is read from the program's support folder: the About folder
# beside the qlm.exe the disk carries.
about_dir = os.path.join(disk, "About")
os.makedirs(os.path.join(about_dir, "English"), exist_ok=True)
shutil.copyfile(os.path.join(pages_dir, "help.htm"), os.path.join(about_dir, "help.htm"))
shutil.copyfile(os.path.join(pages_dir, "English", "help.htm"), os.path.join(about_dir, "English", "help.htm"))



def write_avi(path, width=160, height=120, fps=15, frames=45):
    """An AVI of uncompressed 32-bit frames (a bar sweeping over a gradient),
    which the system's video playback shows without any codec."""
    import struct
    row = width * 4
    size = row * height
    chunks = []
    for n in range(frames):
        bar = n * width // frames
        data = bytearray(size)
        for y in range(height):
            for x in range(width):
                at = y * row + x * 4
                if abs(x - bar) < 6:
                    data[at:at + 4] = b"\xff\xff\xff\0"
                else:
                    data[at:at + 4] = bytes(((x * 255) // width, (y * 255) // height, 160, 0))
        chunks.append(bytes(data))

    def chunk(tag, body):
        pad = b"\0" if len(body) % 2 else b""
        return tag + struct.pack("<I", len(body)) + body + pad

    def lst(kind, body):
        return b"LIST" + struct.pack("<I", len(body) + 4) + kind + body

    avih = struct.pack("<IIIIIIIIIIIIII", 1000000 // fps, size * fps, 0, 0x10, frames, 0, 1, size, width, height,
                       0, 0, 0, 0)
    strh = struct.pack("<4s4sIHHIIIIIIIIhhhh", b"vids", bytes(4), 0, 0, 0, 0, 1, fps, 0, frames, size, 0xFFFFFFFF,
                       0, 0, 0, width, height)
    strf = struct.pack("<IiiHHIIiiII", 40, width, height, 1, 32, 0, size, 0, 0, 0, 0)
    hdrl = lst(b"hdrl", chunk(b"avih", avih) + lst(b"strl", chunk(b"strh", strh) + chunk(b"strf", strf)))
    movi_body = b""
    index = b""
    offset = 4
    for c in chunks:
        index += struct.pack("<4sIII", b"00db", 0x10, offset, len(c))
        piece = chunk(b"00db", c)
        movi_body += piece
        offset += len(piece)
    body = b"AVI " + hdrl + lst(b"movi", movi_body) + chunk(b"idx1", index)
    with open(path, "wb") as f:
        f.write(b"RIFF" + struct.pack("<I", len(body)) + body)


video_dir = os.path.join(disk, "Video")
os.makedirs(video_dir, exist_ok=True)
write_avi(os.path.join(video_dir, "demo.avi"))
# The text window shows this when the clip is selected.
cp1251(os.path.join(video_dir, "demo.rtf"),
       rtf("Демонстрационный ролик", ["Короткий ролик без звука: полоса бежит по радуге.",
                                      "Двойной щелчок запускает его в видеоплейере диска."]))

manifest = {
    "form": "packed",
    "version": "1.1",
    "settings": {
        "DiskIdentifier": "QLM-DEMO-2026",
        "DiskTitle": "Демонстрационный диск QLM",
        "TitlePicture": "Picture\\title.jpg",
        "HasTexts": True,
        "SlidesEnabled": True,
        "DualLanguageNames": True,
        "DualLanguageSlides": True,
        "DualLanguageTexts": False,
        "PictureListInFile": True,
        "TagsInFile": True,
        "TagFieldsAvailable": 31,
        "TagFieldsShown": 2,
        "Charset1": 204,
        "Charset2": 204,
        "TextCharset": 204,
        "VideoListInFile": True,
        "DualLanguageVideos": True,
    },
    "videoFolders": [
        {"name": "Видео", "name2": "Video", "videos": [
            {"name": "Демонстрационный ролик", "name2": "Demo clip", "path": "demo.avi",
             "description": "Короткий ролик без звука: полоса бежит по радуге.",
             "description2": "A short silent clip: a bar runs over a gradient."}]}],
    "pages": [
        {"caption": "Информация", "file": "Pages\\info.htm"},
        {"caption": "Анонс", "file": "Pages\\anons.htm"},
        {"caption": "Помощь", "file": "Pages\\help.htm"},
    ],
    "pictures": [{"file": f, "caption": ru, "caption2": en} for f, ru, en, _ in slides],
    "tree": tree,
}
with open(os.path.join(work, "manifest.json"), "w", encoding="utf-8") as f:
    json.dump(manifest, f, ensure_ascii=False, indent=1)
