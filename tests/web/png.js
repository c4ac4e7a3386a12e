// Reads the 8-bit palette PNGs that `qvar --frames-out` writes, as RGB triples per pixel.
'use strict';
const fs = require('fs');
const zlib = require('zlib');

function paeth(a, b, c) {
  const p = a + b - c;
  const pa = Math.abs(p - a), pb = Math.abs(p - b), pc = Math.abs(p - c);
  return pa <= pb && pa <= pc ? a : (pb <= pc ? b : c);
}

// Undoes the per-row filters of an image with one byte per pixel.
function unfilter(data, width, height) {
  const out = Buffer.alloc(width * height);
  for (let y = 0; y < height; y++) {
    const type = data[y * (width + 1)];
    for (let x = 0; x < width; x++) {
      const raw = data[y * (width + 1) + 1 + x];
      const a = x > 0 ? out[y * width + x - 1] : 0;
      const b = y > 0 ? out[(y - 1) * width + x] : 0;
      const c = x > 0 && y > 0 ? out[(y - 1) * width + x - 1] : 0;
      const predict = [0, a, b, (a + b) >> 1, paeth(a, b, c)][type];
      out[y * width + x] = (raw + predict) & 255;
    }
  }
  return out;
}

function readIndexedPng(file) {
  const bytes = fs.readFileSync(file);
  let pos = 8, width = 0, height = 0, palette = null;
  const idat = [];
  while (pos < bytes.length) {
    const length = bytes.readUInt32BE(pos);
    const type = bytes.toString('latin1', pos + 4, pos + 8);
    const body = bytes.subarray(pos + 8, pos + 8 + length);
    if (type === 'IHDR') {
      width = body.readUInt32BE(0); height = body.readUInt32BE(4);
      if (body[8] !== 8 || body[9] !== 3 || body[12] !== 0) throw new Error(file + ': not an 8-bit palette PNG');
    } else if (type === 'PLTE') palette = body;
    else if (type === 'IDAT') idat.push(body);
    pos += 12 + length;
  }
  const indices = unfilter(zlib.inflateSync(Buffer.concat(idat)), width, height);
  const rgb = Buffer.alloc(width * height * 3);
  for (let i = 0; i < indices.length; i++) palette.copy(rgb, i * 3, indices[i] * 3, indices[i] * 3 + 3);
  return { width, height, rgb };
}

module.exports = { readIndexedPng };
