#!/usr/bin/env python3
"""Draws the demo product's tour pictures, the slides the progress page shows while the demo
installs: a photo editor's screens (a picture being edited, its panels and a headline), one SVG
per slide and language, rendered by rsvg-convert at each DPI's pixel size and saved as JPEG by
ImageMagick.

  demo-slides.py OUTPUT_LANGUAGE_FOLDER     (writes <id>/slidesPro/<100|125|150|200>/NN.jpg)
"""
import os
import subprocess
import sys
import tempfile

WIDTH, HEIGHT = 660, 284  # the slideshow's area at 96 DPI
SCALES = {"100": 1.0, "125": 1.25, "150": 1.5, "200": 2.0}
TEXTS = {
    1033: [("Edit with precision", "Every tone, every detail, non-destructive."),
           ("Organize your library", "Albums, ratings and faces, found in a second."),
           ("Share in one click", "Export for the web, print or your phone."),
           ("Presets that inspire", "Start from a look, make it yours.")],
    1031: [("Präzise bearbeiten", "Jeder Ton, jedes Detail, verlustfrei."),
           ("Bibliothek ordnen", "Alben, Bewertungen und Gesichter in Sekunden."),
           ("Mit einem Klick teilen", "Export für Web, Druck oder Telefon."),
           ("Inspirierende Vorlagen", "Mit einem Look beginnen, eigen machen.")],
}
# Each slide's photo: sky gradient, sun, hills.
SCENES = [
    ("#0f2a4a", "#f29f58", "#ffd27a", ["#1c3b2f", "#254d3c"]),
    ("#1d1b3a", "#c86b98", "#ffe3f1", ["#2b2140", "#3b2c55"]),
    ("#08314a", "#3fb6d9", "#e9fbff", ["#0d4a5e", "#136a80"]),
    ("#2b1a12", "#e0763b", "#ffe0b0", ["#3a2416", "#56331d"]),
]


def escape(text):
    return text.replace("&", "&amp;").replace("<", "&lt;").replace(">", "&gt;")


def slide_svg(index, title, subtitle):
    sky_top, sky_bottom, sun, hills = SCENES[index % len(SCENES)]
    sliders = "".join(
        f'<rect x="512" y="{92 + i * 30}" width="118" height="3" rx="1.5" fill="#3a4450"/>'
        f'<rect x="512" y="{92 + i * 30}" width="{30 + (index * 23 + i * 37) % 80}" height="3" rx="1.5" fill="#1ab8e8"/>'
        f'<circle cx="{512 + 30 + (index * 23 + i * 37) % 80}" cy="{93.5 + i * 30}" r="5" fill="#e8eef3"/>'
        for i in range(5))
    thumbs = "".join(
        f'<rect x="{40 + i * 62}" y="236" width="54" height="34" rx="3" fill="{SCENES[i % 4][1]}" opacity="0.85"/>'
        for i in range(7))
    return f"""<svg xmlns="http://www.w3.org/2000/svg" width="{WIDTH}" height="{HEIGHT}" viewBox="0 0 {WIDTH} {HEIGHT}">
  <defs>
    <linearGradient id="sky" x1="0" y1="0" x2="0" y2="1">
      <stop offset="0" stop-color="{sky_top}"/><stop offset="1" stop-color="{sky_bottom}"/>
    </linearGradient>
    <linearGradient id="fade" x1="0" y1="0" x2="1" y2="0">
      <stop offset="0" stop-color="#14171c" stop-opacity="0.85"/><stop offset="0.6" stop-color="#14171c" stop-opacity="0"/>
    </linearGradient>
    <clipPath id="photo"><rect x="28" y="20" width="462" height="204" rx="6"/></clipPath>
  </defs>
  <rect width="{WIDTH}" height="{HEIGHT}" fill="#1a1d22"/>
  <g clip-path="url(#photo)">
    <rect x="28" y="20" width="462" height="204" fill="url(#sky)"/>
    <circle cx="{420 - index * 25}" cy="78" r="30" fill="{sun}" opacity="0.95"/>
    <path d="M28 190 Q130 120 230 170 T490 150 V224 H28 Z" fill="{hills[1]}"/>
    <path d="M28 210 Q160 160 300 200 T490 190 V224 H28 Z" fill="{hills[0]}"/>
    <rect x="28" y="20" width="462" height="204" fill="url(#fade)"/>
    <text x="52" y="150" font-family="Liberation Sans, Arial, sans-serif" font-size="30" font-weight="bold"
          fill="#ffffff">{escape(title)}</text>
    <text x="53" y="176" font-family="Liberation Sans, Arial, sans-serif" font-size="14"
          fill="#d6dee6">{escape(subtitle)}</text>
  </g>
  <rect x="28" y="20" width="462" height="204" rx="6" fill="none" stroke="#2c333c"/>
  <rect x="500" y="20" width="140" height="204" rx="6" fill="#20252c"/>
  <text x="512" y="56" font-family="Liberation Sans, Arial, sans-serif" font-size="12" fill="#9fb0bf">LUMETRA</text>
  <rect x="512" y="66" width="40" height="2" fill="#1ab8e8"/>
  {sliders}
  {thumbs}
</svg>"""


def main():
    out = sys.argv[1]
    with tempfile.TemporaryDirectory() as scratch:
        for language, texts in TEXTS.items():
            for index, (title, subtitle) in enumerate(texts):
                svg = os.path.join(scratch, f"{language}-{index}.svg")
                with open(svg, "w", encoding="utf-8") as f:
                    f.write(slide_svg(index, title, subtitle))
                for folder, scale in SCALES.items():
                    target = os.path.join(out, str(language), "slidesPro", folder)
                    os.makedirs(target, exist_ok=True)
                    png = os.path.join(scratch, f"{language}-{index}-{folder}.png")
                    subprocess.run(["rsvg-convert", "-w", str(round(WIDTH * scale)), "-h", str(round(HEIGHT * scale)),
                                    "-o", png, svg], check=True)
                    subprocess.run(["convert", png, "-quality", "90", os.path.join(target, f"{index + 1:02d}.jpg")],
                                   check=True)


if __name__ == "__main__":
    main()
