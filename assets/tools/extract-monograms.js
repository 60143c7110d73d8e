#!/usr/bin/env node
// Turns the web-site monograms into plain SVG outlines, so that the icon
// generator never depends on fonts installed on the build machine.
//
// Only needed when the list of monograms changes. Usage (any temporary folder):
//   npm install opentype.js@2.0.0
//   NODE_PATH=$PWD/node_modules node <repo>/assets/tools/extract-monograms.js \
//       /usr/share/fonts/opentype/inter/Inter-Bold.otf <repo>/assets/src/glyphs/monograms
// (Debian package fonts-inter provides Inter-Bold.otf.)
'use strict';
const fs = require('fs');
const path = require('path');
const opentype = require('opentype.js');

const MONOGRAMS = ['Go', 'Ya', 'Pi', 'Fb', 'Tw', 'Yt', 'Li', 'Lf', 'Fl', 'De', 'Te', 'Da'];
const SIZE = 100; // font size in SVG units; the baseline is y = 0

const [fontFile, outDir] = process.argv.slice(2);
if (!fontFile || !outDir) {
  console.error('usage: extract-monograms.js FONT.otf OUTDIR');
  process.exit(2);
}
const buf = fs.readFileSync(fontFile);
const font = opentype.parse(buf.buffer.slice(buf.byteOffset, buf.byteOffset + buf.byteLength));
const capHeight = (font.tables.os2.sCapHeight / font.unitsPerEm) * SIZE;
fs.mkdirSync(outDir, { recursive: true });

for (const text of MONOGRAMS) {
  // Glyph by glyph with pair kerning; no other layout features are needed
  // for two Latin letters.
  const scale = SIZE / font.unitsPerEm;
  const p = new opentype.Path();
  let x = 0;
  let previous = null;
  for (const ch of text) {
    const glyph = font.charToGlyph(ch);
    if (previous) x += font.getKerningValue(previous, glyph) * scale;
    p.extend(glyph.getPath(x, 0, SIZE));
    x += glyph.advanceWidth * scale;
    previous = glyph;
  }
  const box = p.getBoundingBox();
  const d = p.toPathData(2);
  const left = box.x1.toFixed(2);
  const w = (box.x2 - box.x1).toFixed(2);
  const h = capHeight.toFixed(2);
  // The view box spans the ink horizontally and the capital height
  // vertically (baseline at the bottom edge); ascenders may reach past it.
  const svg =
    `<svg xmlns="http://www.w3.org/2000/svg" viewBox="${left} -${h} ${w} ${h}">` +
    `<!-- "${text}" set in Inter Bold, converted to outlines (SIL Open Font License 1.1) -->` +
    `<path d="${d}"/></svg>\n`;
  fs.writeFileSync(path.join(outDir, `${text}.svg`), svg);
  console.log(`${text}: width ${w}, cap height ${h}`);
}
