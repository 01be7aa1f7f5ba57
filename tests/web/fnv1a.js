// Prints the 64-bit FNV-1a hash of standard input's bytes, in decimal: the
// hash the determinism test keeps of a tumbo-sim dump.
'use strict';
const chunks = [];
process.stdin.on('data', (c) => chunks.push(c));
process.stdin.on('end', () => {
  let h = 14695981039346656037n;
  const mask = (1n << 64n) - 1n;
  for (const byte of Buffer.concat(chunks)) {
    h ^= BigInt(byte);
    h = (h * 1099511628211n) & mask;
  }
  console.log(h.toString());
});
