// The npm package as a user gets it: packed by npm pack (or the tarball
// TK_WASM_TARBALL names, such as the one in dist/), installed with no
// network into a scratch folder, and imported by name: the README's first
// example prints what its comments say.
import assert from 'node:assert/strict';
import { execFileSync, spawnSync } from 'node:child_process';
import { mkdtempSync, readFileSync, rmSync, writeFileSync } from 'node:fs';
import { tmpdir } from 'node:os';
import { join } from 'node:path';
import { after, test } from 'node:test';

import { packageDir, root } from './load.mjs';

const scratch = mkdtempSync(join(tmpdir(), 'twinekit-package-'));
after(() => rmSync(scratch, { recursive: true, force: true }));

const run = (command, args) => execFileSync(command, args, { cwd: scratch, encoding: 'utf8' });

function tarball() {
  if (process.env.TK_WASM_TARBALL) return process.env.TK_WASM_TARBALL;
  const [packed] = JSON.parse(run('npm', ['pack', '--json', '--pack-destination', scratch, packageDir]));
  return join(scratch, packed.filename);
}

test('installs from its tarball and runs the README example', () => {
  writeFileSync(join(scratch, 'package.json'), JSON.stringify({ name: 'user', private: true, type: 'module' }));
  const packed = tarball();
  assert.deepEqual(run('tar', ['-tzf', packed]).trim().split('\n').sort(), [
    'package/LICENSE', 'package/README.md', 'package/exports.mjs', 'package/package.json',
    'package/twinekit.d.ts', 'package/twinekit.mjs', 'package/twinekit_wasm.mjs']);
  run('npm', ['install', '--offline', '--no-audit', '--no-fund', packed]);
  const installed = join(scratch, 'node_modules/twinekit');
  const readme = readFileSync(join(installed, 'README.md'), 'utf8');
  const example = readme.match(/```js\n([\s\S]*?)```/)[1];
  writeFileSync(join(scratch, 'example.mjs'), example);
  const printed = run('node', ['example.mjs']).trimEnd().split('\n');
  const promised = [...example.matchAll(/console\.log\(.*\/\/ (.*)$/gm)].map((m) => m[1].trim());
  assert.ok(promised.length >= 4);
  assert.deepEqual(printed, promised);
});

test('declares every function it exports', () => {
  const installed = join(scratch, 'node_modules/twinekit');
  const declared = [...readFileSync(join(installed, 'twinekit.d.ts'), 'utf8')
    .matchAll(/^export declare function (\w+)/gm)].map((m) => m[1]);
  const exported = JSON.parse(run('node', ['--input-type=module', '-e',
    "import * as tk from 'twinekit'; console.log(JSON.stringify(Object.keys(tk).filter((k) => typeof tk[k] === 'function')))"]));
  assert.deepEqual(declared.sort(), exported.sort());
});

test('its declarations type a user\'s TypeScript', () => {
  writeFileSync(join(scratch, 'user.ts'), `
    import { cGetIn, cFill, cArabicToRoman, latin1, utf8, variant, syntax } from 'twinekit';
    const field: Uint8Array = cGetIn(latin1.encode('a|b'), null, 2);
    const filled: { result: number; text: Uint8Array } = cFill(field, latin1.encode('x'));
    const roman: Uint8Array = cArabicToRoman(variant.cy(2.5));
    const problem: string = syntax.runCase("cReverse 'ab' => 'ba'").problem;
    // Any typed array or DataView is bytes; a Long may be a bigint.
    const wide: Uint8Array = cGetIn(new Uint16Array([0x7c61]), new DataView(new ArrayBuffer(1)), 2n);
    const text: string = latin1.decode(new Float32Array(1)) + utf8.decode(new DataView(wide.buffer));
    cArabicToRoman(variant.ref(variant.i2(12n)));
    cArabicToRoman(undefined);
    // @ts-expect-error: a string is not bytes
    cGetIn('a|b', null, 2);
    // @ts-expect-error: nor does decode take one
    latin1.decode('ab');
    // @ts-expect-error: a Long is not a string
    cGetIn(null, null, '2');
    export { filled, roman, problem, text };
  `);
  const tsc = spawnSync(join(root, 'tests/wasm/node_modules/.bin/tsc'), ['--noEmit', '--strict', '--target',
    'es2022', '--module', 'nodenext', '--moduleResolution', 'nodenext', 'user.ts'], { cwd: scratch, encoding: 'utf8' });
  assert.equal(tsc.status, 0, tsc.stdout + tsc.stderr);
});
