// Where the tests find what they test: the package folder of the
// WebAssembly build (TK_WASM_PACKAGE, by default build/wasm/wasm/package)
// and the case files.
import { readFileSync, readdirSync } from 'node:fs';
import { dirname, join, resolve } from 'node:path';
import { fileURLToPath, pathToFileURL } from 'node:url';

export const root = resolve(dirname(fileURLToPath(import.meta.url)), '../..');
export const packageDir = resolve(process.env.TK_WASM_PACKAGE ?? join(root, 'build/wasm/wasm/package'));
export const buildDir = resolve(packageDir, '../..');

export const loadTwineKit = () => import(pathToFileURL(join(packageDir, 'twinekit.mjs')).href);

// The case files: [{ family, lines: [{ number, text }] }], comments and
// blank lines left out.
export function caseFiles() {
  const dir = join(root, 'tests/cases');
  return readdirSync(dir).filter((f) => f.endsWith('.cases')).sort().map((f) => ({
    family: f.replace(/\.cases$/, ''),
    lines: readFileSync(join(dir, f), 'latin1').split('\n')
      .map((text, i) => ({ number: i + 1, text }))
      .filter(({ text }) => text.trim() !== '' && !text.startsWith('#')),
  }));
}
