// Reads the PNG files the browser's screenshots give (8 bits a channel, grey,
// RGB or RGBA, not interlaced) into RGBA pixels, with node's own zlib.
'use strict';
const zlib = require('zlib');

function paeth(a, b, c) {
  const p = a + b - c;
  const pa = Math.abs(p - a), pb = Math.abs(p - b), pc = Math.abs(p - c);
  if (pa <= pb && pa <= pc) return a;
  return pb <= pc ? b : c;
}

function decode(buf) {
  const sig = [137, 80, 78, 71, 13, 10, 26, 10];
  sig.forEach((v, i) => {
    if (buf[i] !== v) throw new Error('not a PNG file');
  });
  let pos = 8, width = 0, height = 0, type = 0;
  const idat = [];
  while (pos < buf.length) {
    const len = buf.readUInt32BE(pos);
    const kind = buf.toString('latin1', pos + 4, pos + 8);
    const data = buf.subarray(pos + 8, pos + 8 + len);
    if (kind === 'IHDR') {
      width = data.readUInt32BE(0);
      height = data.readUInt32BE(4);
      type = data[9];
      if (data[8] !== 8 || data[12] !== 0) throw new Error('only 8-bit, non-interlaced PNG files are read');
    } else if (kind === 'IDAT') {
      idat.push(data);
    } else if (kind === 'IEND') {
      break;
    }
    pos += 12 + len;
  }
  const channels = {0: 1, 2: 3, 4: 2, 6: 4}[type];
  if (!channels) throw new Error('PNG colour type ' + type + ' is not read');
  const raw = zlib.inflateSync(Buffer.concat(idat));
  const stride = width * channels;
  const rows = Buffer.alloc(stride * height);
  for (let y = 0; y < height; y++) {
    const filter = raw[y * (stride + 1)];
    const src = raw.subarray(y * (stride + 1) + 1, (y + 1) * (stride + 1));
    const out = rows.subarray(y * stride, (y + 1) * stride);
    const prev = y > 0 ? rows.subarray((y - 1) * stride, y * stride) : null;
    for (let i = 0; i < stride; i++) {
      const a = i >= channels ? out[i - channels] : 0;
      const b = prev ? prev[i] : 0;
      const c = prev && i >= channels ? prev[i - channels] : 0;
      const x = src[i];
      switch (filter) {
        case 0: out[i] = x; break;
        case 1: out[i] = x + a; break;
        case 2: out[i] = x + b; break;
        case 3: out[i] = x + ((a + b) >> 1); break;
        case 4: out[i] = x + paeth(a, b, c); break;
        default: throw new Error('bad PNG filter ' + filter);
      }
    }
  }
  const rgba = Buffer.alloc(width * height * 4);
  for (let p = 0; p < width * height; p++) {
    const s = p * channels;
    const grey = channels <= 2;
    rgba[p * 4] = rows[s];
    rgba[p * 4 + 1] = grey ? rows[s] : rows[s + 1];
    rgba[p * 4 + 2] = grey ? rows[s] : rows[s + 2];
    rgba[p * 4 + 3] = channels === 4 ? rows[s + 3] : channels === 2 ? rows[s + 1] : 255;
  }
  return {width, height, data: rgba};
}

module.exports = {decode};
