// Runs the glTF validator on every .gltf and .glb file named on the command
// line (or found directly in a folder named there) and prints one line per
// file with its counts. Exits 1 when any file has an error or a warning, or
// when no file was found at all.
import { readFile, readdir, stat } from 'node:fs/promises';
import path from 'node:path';
import validator from 'gltf-validator';

async function filesOf(argument) {
  if (!(await stat(argument)).isDirectory()) return [argument];
  const names = (await readdir(argument)).filter((n) => /\.(gltf|glb)$/i.test(n)).sort();
  return names.map((n) => path.join(argument, n));
}

const files = [];
for (const argument of process.argv.slice(2)) files.push(...(await filesOf(argument)));
if (files.length === 0) {
  console.error('validate-gltf: no .gltf or .glb file given');
  process.exit(1);
}

let failed = 0;
for (const file of files) {
  const report = await validator.validateBytes(new Uint8Array(await readFile(file)), {
    uri: path.basename(file),
    maxIssues: 0,
    // Buffers and images beside a .gltf are read from its folder.
    externalResourceFunction: async (uri) =>
      new Uint8Array(await readFile(path.join(path.dirname(file), decodeURIComponent(uri)))),
  });
  const { numErrors, numWarnings, numInfos } = report.issues;
  console.log(`${file}: ${numErrors} errors, ${numWarnings} warnings, ${numInfos} infos`);
  for (const message of report.issues.messages) {
    if (message.severity <= (process.env.GLTF_SHOW_INFOS ? 2 : 1)) console.log(`  ${message.code} ${message.pointer ?? ''}: ${message.message}`);
  }
  if (numErrors > 0 || numWarnings > 0) ++failed;
}
console.log(`validate-gltf: ${files.length - failed} of ${files.length} files without errors or warnings`);
process.exit(failed > 0 ? 1 : 0);
