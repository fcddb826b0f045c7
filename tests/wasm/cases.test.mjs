// Every behaviour case through the WebAssembly build, called through the
// JavaScript module, the lines read by the library's own reader of the case
// syntax.  The clock of a fixed-clock case is the JavaScript clock the
// module reads, set for the call.  Each call must leave the heap as it
// found it.  Ends with "wasm: N passed, N failed, N skipped".
import assert from 'node:assert/strict';
import { after, test } from 'node:test';

import { caseFiles, loadTwineKit } from './load.mjs';

const tk = await loadTwineKit();
const totals = { passed: 0, failed: 0, skipped: 0 };

const sameBytes = (a, b) => a.length === b.length && a.every((x, i) => x === b[i]);

function withClock(seconds, f) {
  if (seconds < 0) return f();
  const realNow = Date.now;
  Date.now = () => seconds * 1000;
  try {
    return f();
  } finally {
    Date.now = realNow;
  }
}

// What differs between the case and what the call gave; '' when nothing.
function problemOf(c, seen) {
  const { result } = tk.exportTable.find((e) => e.name === c.name);
  const inPlace = seen !== null && typeof seen === 'object' && 'text' in seen;
  const got = inPlace ? seen.result : seen;
  const asInt = (bits, n) => Number(BigInt.asIntN(bits, BigInt(n)));
  switch (result) {
    case 'S':
      if (!sameBytes(got, c.want)) return `gave ${tk.syntax.quote(got)}`;
      break;
    case 'I':
    case 'L':
      if (got !== asInt(result === 'I' ? 16 : 32, c.want)) return `gave ${got}`;
      break;
    case 'X':
      if (c.want.vt !== 3 || got !== c.want.value) return `gave i4:${got}`;
      break;
    case 'N':
      if (got !== undefined) return `gave ${got}`;
      break;
  }
  if (c.after !== null && !sameBytes(seen.text, c.after)) {
    return `left ${tk.syntax.quote(seen.text)} in its argument`;
  }
  return '';
}

function runLine(family, { number, text }) {
  let problem;
  try {
    const c = tk.syntax.parseCase(text);
    const heap = tk.heapInUse();
    const seen = withClock(c.clock, () => tk.call(c.name, c.args));
    const left = tk.heapInUse() - heap;
    problem = left !== 0 ? `left ${left} bytes of the heap in use` : problemOf(c, seen);
  } catch (e) {
    problem = String(e);
  }
  if (problem === '') return '';
  return `${family}:${number}: ${text}: ${problem}`;
}

for (const { family, lines } of caseFiles()) {
  test(`${family} cases`, () => {
    const problems = lines.map((line) => runLine(family, line)).filter((p) => p !== '');
    totals.passed += lines.length - problems.length;
    totals.failed += problems.length;
    assert.deepEqual(problems, []);
  });
}

after(() => {
  console.log(`wasm: ${totals.passed} passed, ${totals.failed} failed, ${totals.skipped} skipped`);
});
