// Every behaviour case through the WebAssembly build, called through the
// JavaScript module, the lines read by the library's own reader of the case
// syntax.  A fixed-clock case runs with the module's clock set for its
// call.  Each call must leave the heap as it found it.  Ends with
// "wasm: N passed, N failed, N skipped".
import assert from 'node:assert/strict';
import { after, test } from 'node:test';

import { caseFiles, loadTwineKit } from './load.mjs';

const tk = await loadTwineKit();
const totals = { passed: 0, failed: 0, skipped: 0 };

function runLine(family, { number, text }) {
  let problem;
  try {
    const c = tk.syntax.parseCase(text);
    const heap = tk.heapInUse();
    const seen = tk.syntax.callCase(c);
    const left = tk.heapInUse() - heap;
    problem = left !== 0 ? `left ${left} bytes of the heap in use` : tk.syntax.check(c, seen);
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
