// The JavaScript layer of the module: how JavaScript values become a host's
// arguments and results come back, checked against the same calls written
// in the case syntax, and the layer's own errors.
import assert from 'node:assert/strict';
import { test } from 'node:test';

import { loadTwineKit } from './load.mjs';

const tk = await loadTwineKit();
const { latin1, utf8, variant, syntax } = tk;

// The same call made from JavaScript values and from a case line's
// arguments gives the same result.
function sameAsLine(jsCall, line) {
  const c = syntax.parseCase(line);
  assert.deepEqual(jsCall(), tk.call(c.name, c.args), line);
}

test('text helpers', () => {
  const every = Uint8Array.from({ length: 256 }, (_, i) => i);
  assert.deepEqual(latin1.encode(latin1.decode(every)), every);
  assert.throws(() => latin1.encode('a\u20ACb'), { name: 'RangeError', message: /character 2 \(U\+20AC\)/ });
  assert.deepEqual([...utf8.encode('\u00E9\u20AC')], [0xc3, 0xa9, 0xe2, 0x82, 0xac]);
  assert.equal(utf8.decode(tk.cReverse(utf8.encode('ab'))), 'ba');
  // A long text crosses the decoder's chunks.
  const long = 'x'.repeat(20000) + '\u00FF';
  assert.equal(latin1.decode(latin1.encode(long)), long);
});

test('string arguments and results', () => {
  const b = latin1.encode;
  const rows = [
    [() => tk.cReverse(null), "cReverse @null => ''"],
    [() => tk.cReverse(undefined), "cReverse @null => ''"],
    [() => tk.cReverse(new Uint8Array(0)), "cReverse '' => ''"],
    [() => tk.cReverse(b('..A\0B..').subarray(2, 5)), "cReverse 'A\\0B' => 'B\\0A'"],
    [() => tk.cGetIn(b('a|b|c'), b('|'), 2n), "cGetIn 'a|b|c' '|' 2 => 'b'"],
    // A number is the 32-bit slot a host passes: 2^32 + 2 is 2.
    [() => tk.cGetIn(b('a|b|c'), b('|'), 2 ** 32 + 2), "cGetIn 'a|b|c' '|' 2 => 'b'"],
    [() => tk.cAlign(b('AB'), 0x10001, 5), "cAlign 'AB' 1 5 => 'AB   '"],
    [() => tk.cCheckChars(new Uint8ClampedArray([97, 98]), b('a')), "cCheckChars 'ab' 'a' => -1"],
  ];
  for (const [jsCall, line] of rows) sameAsLine(jsCall, line);
});

test('Variant arguments', () => {
  const rows = [
    [1994, 'i4:1994'],
    [-1, 'i4:-1'],
    [2 ** 31, 'r8:2147483648'],
    [2.5, 'r8:2.5'],
    ['1994', "str:'1994'"],
    [null, 'null'],
    [undefined, 'empty'],
    [variant.i2(1994), 'i2:1994'],
    [variant.cy(2.5), 'cy:2.5'],
    [variant.cy(25000n), 'cy:2.5'],
    [variant.bool(true), 'bool:true'],
    [variant.date(1994), 'date:1994'],
    [variant.r4(3.75), 'r4:3.75'],
    [variant.ui1(7), 'ui1:7'],
  ];
  for (const [value, text] of rows) {
    sameAsLine(() => tk.cArabicToRoman(value), `cArabicToRoman ${text} => ''`);
  }
  assert.equal(latin1.decode(tk.cArabicToRoman(1994)), 'mcmxciv');
});

test('in-place functions give their result and the new bytes', () => {
  const text = latin1.encode('HELLO');
  assert.deepEqual(tk.cFill(text, latin1.encode('ab')), { result: -1, text: latin1.encode('ababa') });
  assert.equal(latin1.decode(text), 'HELLO', 'the caller\'s bytes stay as they were');
  assert.deepEqual(tk.cCnvASCIItoEBCDIC(null), { result: 0, text: new Uint8Array(0) });
  assert.equal(tk.cRomanToArabic(latin1.encode('mcm')), 1900);
  assert.equal(tk.cSetDefaultSeparator(latin1.encode('|')), undefined);
});

test('arguments the layer refuses', () => {
  const rows = [
    [() => tk.cReverse('abc'), TypeError, /argument 1 \(txt\): not bytes/],
    [() => tk.cReverse([97]), TypeError, /not bytes/],
    [() => tk.cGetIn(null, null, 2.5), TypeError, /argument 3 \(index\): not a whole number/],
    [() => tk.cGetIn(null, null, '2'), TypeError, /not a whole number/],
    [() => tk.cArabicToRoman({}), TypeError, /not a number, a string or a Variant/],
    [() => tk.cArabicToRoman({ vt: 9, value: null }), TypeError, /not a number, a string or a Variant/],
    [() => tk.call('cNothing', []), TypeError, /no function named cNothing/],
    [() => tk.call('cReverse', []), TypeError, /takes 1 argument, not 0/],
    [() => syntax.parseCase("cGetIn 'a' 2"), SyntaxError, /too few arguments/],
    [() => syntax.parseValue('L', 'x'), SyntaxError, /cannot be read/],
  ];
  for (const [f, type, message] of rows) assert.throws(f, { name: type.name, message });
});

test('big strings grow the memory and leave nothing behind', () => {
  const heap = tk.heapInUse();
  const big = tk.cCreateAndFill(48 << 20, latin1.encode('ab'));
  assert.equal(big.length, 48 << 20);
  assert.equal(latin1.decode(tk.cGetBlock(big, (24 << 20) - 1, 2)), 'ab');
  assert.equal(tk.heapInUse(), heap);
});

test('the export table', () => {
  assert.equal(tk.exportTable.length, 64);
  for (const e of tk.exportTable) {
    assert.equal(typeof tk[e.name], 'function', e.name);
    assert.equal(tk[e.name].length, e.args.length, e.name);
  }
});
