// The WebAssembly build against the native library: calls of every export
// with arguments drawn from a seeded generator (bytes the functions treat
// specially, edge numbers) run through the module, written as case lines
// with the results it gave, and checked by the native tkcall (build/native,
// or TK_TKCALL), which must answer every line the same.  The native build
// takes its vector paths where the WebAssembly one has only the plain ones.
import assert from 'node:assert/strict';
import { execFileSync } from 'node:child_process';
import { existsSync, mkdtempSync, rmSync, writeFileSync } from 'node:fs';
import { tmpdir } from 'node:os';
import { join } from 'node:path';
import { test } from 'node:test';

import { loadTwineKit, root } from './load.mjs';

const tk = await loadTwineKit();
const tkcall = process.env.TK_TKCALL ?? join(root, 'build/native/tools/tkcall/tkcall');
const CALLS_PER_EXPORT = 60;

// mulberry32: a small generator, so that every run draws the same calls.
function generator(seed) {
  let state = seed >>> 0;
  return (n) => {
    state = (state + 0x6d2b79f5) >>> 0;
    let t = state;
    t = Math.imul(t ^ (t >>> 15), t | 1);
    t ^= t + Math.imul(t ^ (t >>> 7), t | 61);
    return (((t ^ (t >>> 14)) >>> 0) % n);
  };
}

const pick = (draw, items) => items[draw(items.length)];
const BYTES = [...'aAzZ09 |,;*?[]!-^#.\\/~'].map((c) => c.charCodeAt(0)).concat([0, 9, 10, 13, 0x80, 0xe9, 0xff]);
const LONGS = [-0x80000000, -5, -1, 0, 1, 2, 3, 4, 7, 10, 16, 33];
const INTEGERS = [-32768, -1, 0, 1, 2, 3, 5, 15, 255, 0x10001];
const VARIANTS = [-1, 0, 1, 4, 9, 14, 40, 90, 400, 1994, 3999, 4000, 2.5, 3.5, '12', ' 7 ', 'x', '', null];

function text(draw) {
  if (draw(12) === 0) return null;
  // Mostly short, some past 16 and 64 bytes, where vector paths take over.
  const length = pick(draw, [0, 1, 2, 3, 5, 8, 17, 40, 70, 150]);
  const alphabet = BYTES.slice(0, 3 + draw(BYTES.length - 2));
  return Uint8Array.from({ length }, () => pick(draw, alphabet));
}

function argument(draw, kind) {
  switch (kind) {
    case 'L': return pick(draw, LONGS);
    case 'I': return pick(draw, INTEGERS);
    case 'X': return pick(draw, VARIANTS);
    default: return text(draw);
  }
}

// The case line of a call and what the module gave.
function caseLine(e, args, seen) {
  const inPlace = e.args[0] === 'W';
  const result = inPlace ? seen.result : seen;
  let line = [e.name, ...args.map((a, i) => tk.syntax.format(a, e.args[i]))].join(' ');
  if (e.result === 'S') line += ` => ${tk.syntax.quote(result)}`;
  else if (e.result === 'X') line += ` => i4:${result}`;
  else if (e.result !== 'N') line += ` => ${result}`;
  return inPlace ? `${line} after ${tk.syntax.quote(seen.text)}` : line;
}

test('the native library answers every call as the WebAssembly build did', () => {
  assert.ok(existsSync(tkcall), `no native tkcall at ${tkcall}: build build/native first`);
  const draw = generator(20261207);
  const lines = [];
  // cMixChars reads the clock, which tkcall cannot fix.
  for (const e of tk.exportTable.filter((x) => x.name !== 'cMixChars')) {
    for (let n = 0; n < CALLS_PER_EXPORT; ++n) {
      const args = [...e.args].map((kind) => argument(draw, kind));
      lines.push(caseLine(e, args, tk.call(e.name, args)));
    }
  }
  lines.push("cSetDefaultSeparator '|'");  // as the file found it
  const dir = mkdtempSync(join(tmpdir(), 'twinekit-native-'));
  try {
    writeFileSync(join(dir, 'drawn.cases'), lines.join('\n') + '\n', 'latin1');
    let report;
    try {
      report = execFileSync(tkcall, ['--check', join(dir, 'drawn.cases')], { encoding: 'latin1' });
    } catch (error) {
      report = error.stdout;
    }
    assert.equal(report.trim().split('\n').slice(-8).join('\n'), `${lines.length} passed, 0 failed, 0 skipped`);
  } finally {
    rmSync(dir, { recursive: true, force: true });
  }
});
