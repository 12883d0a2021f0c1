// Reads every DXF file in the given folders with the npm package dxf-parser, an independent
// DXF reader, and checks that its entities, by type and by layer, are exactly the LINE, ARC,
// CIRCLE, TEXT, POLYLINE, LWPOLYLINE, POINT and SOLID records the file holds.
//   node read_dxf.js MODULES_DIR FOLDER...   (MODULES_DIR holds node_modules/dxf-parser)
const fs = require('fs');
const path = require('path');
const DxfParser = require(path.join(process.argv[2], 'node_modules', 'dxf-parser'));

// HATCH is left out: this reader skips it.
const TYPES = new Set(['LINE', 'ARC', 'CIRCLE', 'TEXT', 'POLYLINE', 'POINT', 'SOLID', 'LWPOLYLINE']);

// (type, layer) of each entity record, read from the group pairs of the ENTITIES section.
function recordsWritten(text) {
  const lines = text.split('\n');
  const counts = new Map();
  let inEntities = false;
  for (let i = 0; i + 3 < lines.length; i += 2) {
    const code = lines[i].trim(), value = lines[i + 1];
    if (code === '2' && value === 'ENTITIES') inEntities = true;
    else if (code === '0' && value === 'ENDSEC') inEntities = false;
    else if (inEntities && code === '0' && TYPES.has(value)) {
      let j = i + 2;
      while (j + 1 < lines.length && !['0', '8'].includes(lines[j].trim())) j += 2;
      const layer = lines[j].trim() === '8' ? lines[j + 1] : '0';
      const key = value + ' ' + layer;
      counts.set(key, (counts.get(key) || 0) + 1);
    }
  }
  return counts;
}

function recordsRead(text) {
  const counts = new Map();
  for (const e of new DxfParser().parseSync(text).entities) {
    if (!TYPES.has(e.type)) continue;
    const key = e.type + ' ' + e.layer;
    counts.set(key, (counts.get(key) || 0) + 1);
  }
  return counts;
}

const same = (a, b) => a.size === b.size && [...a].every(([k, v]) => b.get(k) === v);

let files = 0, failures = 0, entities = 0;
for (const folder of process.argv.slice(3)) {
  for (const name of fs.readdirSync(folder).filter(n => n.endsWith('.dxf')).sort()) {
    const file = path.join(folder, name);
    const text = fs.readFileSync(file, 'latin1');
    ++files;
    let read;
    try {
      read = recordsRead(text);
    } catch (problem) {
      console.log(`${file}: dxf-parser cannot read it: ${problem.message}`);
      ++failures;
      continue;
    }
    const written = recordsWritten(text);
    if (!same(read, written)) {
      console.log(`${file}: dxf-parser read ${JSON.stringify([...read])}, the file holds ${JSON.stringify([...written])}`);
      ++failures;
    }
    for (const v of written.values()) entities += v;
  }
}
console.log(`${files} DXF files, ${entities} entities, read by dxf-parser: ${failures} failures`);
process.exit(failures || files === 0 ? 1 : 0);
