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
  // decode reads any typed array or DataView as its bytes.
  const ab = new Uint16Array([0x6261]);
  for (const helper of [latin1, utf8]) {
    assert.equal(helper.decode(ab), 'ab');
    assert.equal(helper.decode(new DataView(ab.buffer)), 'ab');
  }
});

test('text helpers refuse what is not their input', () => {
  const notText = [123, 12n, null, undefined, ['a'], new Uint8Array(1), { toString: () => 'a' }];
  const notBytes = ['ab', 97, null, undefined, [97], new ArrayBuffer(2), { length: 1, 0: 97 }];
  for (const [name, helper] of [['latin1', latin1], ['utf8', utf8]]) {
    for (const value of notText) {
      assert.throws(() => helper.encode(value), { name: 'TypeError', message: new RegExp(`${name}.encode: not a string`) });
    }
    for (const value of notBytes) {
      assert.throws(() => helper.decode(value), { name: 'TypeError', message: new RegExp(`${name}.decode: not bytes`) });
    }
  }
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
    [variant.i1(-3), 'i1:-3'],
    [variant.ui2(12), 'ui2:12'],
    [variant.ui4(12), 'ui4:12'],
    [variant.int(12), 'int:12'],
    [variant.uint(12), 'uint:12'],
    [variant.error(12), 'error:12'],
    [variant.i8(1000n), 'i8:1000'],
    [variant.i8('4294968296'), 'i8:4294968296'],
    [variant.ui8(2n ** 64n - 1n), 'ui8:18446744073709551615'],
    [variant.dec('3.5'), 'dec:3.5'],
    [variant.dec(-2.5), 'dec:-2.5'],
    [variant.dec('7.9228162514264337593543950335'), 'dec:7.9228162514264337593543950335'],
    [variant.vt(0x2003), 'vt:0x2003'],
    [variant.ref(variant.dec('13.5')), 'ref:dec:13.5'],
    [variant.ref('12'), "ref:str:'12'"],
    [variant.ref(variant.r4(3.5)), 'ref:r4:3.5'],
    [variant.refVar(variant.ref(12)), 'ref:var:ref:i4:12'],
    [variant.refVar(variant.refVar(12)), 'ref:var:ref:var:i4:12'],
    [variant.refVar(undefined), 'ref:var:empty'],
    [variant.refVar(variant.refVar(variant.ref(12))), 'ref:var:ref:var:ref:i4:12'],
  ];
  for (const [value, text] of rows) {
    sameAsLine(() => tk.cArabicToRoman(value), `cArabicToRoman ${text} => ''`);
  }
  assert.equal(latin1.decode(tk.cArabicToRoman(1994)), 'mcmxciv');
  assert.equal(latin1.decode(tk.cArabicToRoman(variant.refVar(variant.ref(variant.dec(3.5))))), 'iv');
  assert.equal(latin1.decode(tk.cArabicToRoman(variant.ref(variant.str('\u0661\u0662')))), '',
    'a String Variant keeps its UTF-16 characters');
});

test('Variants written in the syntax read back as the same Variant', () => {
  const rows = [
    'i8:-9223372036854775808', 'ui8:18446744073709551615', 'dec:-0.0000000000000000000000000001',
    'dec:79228162514264337593543950335', 'error:-2147352572', 'vt:9', 'r8:-0', 'ref:vt:9',
    "ref:var:ref:str:'a\\x00b'", 'ref:var:ref:var:cy:-3.5', 'ref:var:null',
  ];
  for (const text of rows) {
    const v = syntax.parseValue('X', text);
    assert.deepEqual(syntax.parseValue('X', syntax.format(v, 'X')), v, text);
  }
  assert.equal(syntax.parseValue('X', 'i8:9007199254740993').value, 9007199254740993n);
  assert.equal(syntax.parseValue('X', 'dec:1.50').value, '1.50');
});

test('Variants the helpers refuse', () => {
  const rows = [
    [() => variant.i8(2n ** 63n), RangeError, /variant.i8: 9223372036854775808 is out of range/],
    [() => variant.ui8(-1), RangeError, /out of range/],
    [() => variant.i8(1.5), RangeError, /cannot be converted|not an integer/],
    [() => variant.dec('1e5'), RangeError, /variant.dec: 1e5 is not a Decimal/],
    [() => variant.dec(1e-7), RangeError, /not a Decimal/],
    [() => variant.dec('792281625142643375935439503350'), RangeError, /not a Decimal/],
    [() => variant.ref(variant.ref(1)), TypeError, /itself a reference/],
    [() => variant.ref({ vt: 3, value: 1 }), TypeError, /not a number, a string or a Variant/],
    [() => variant.refVar(variant.refVar(variant.refVar(variant.ref(1)))), RangeError,
      /variant.refVar: references nested more than 3 deep/],
    [() => tk.cArabicToRoman(variant.i2(2.5)), RangeError, /i2:2.5 cannot be passed/],
  ];
  const heap = tk.heapInUse();
  for (const [f, type, message] of rows) assert.throws(f, { name: type.name, message });
  assert.equal(tk.heapInUse(), heap, 'a refused argument leaves nothing behind');
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

test('bytes longer than the module holds are refused before anything is made', () => {
  // Views of 4 GiB and more, whose length a 32-bit count would wrap; the
  // pages are never touched, so they cost address space only.
  const huge = new ArrayBuffer(2 ** 32 + 8);
  const views = [new Uint8Array(huge, 0, 2 ** 32), new DataView(huge), new Float64Array(huge),
    new Uint8Array(huge, 0, 3 * 2 ** 30)];
  const heap = tk.heapInUse();
  for (const bytes of views) {
    const where = `${bytes.constructor.name} of ${bytes.byteLength} bytes`;
    assert.throws(() => tk.cGetIn(latin1.encode('a|b'), bytes, 2), { name: 'RangeError', message: /argument 2 \(sep\): .*bytes/ }, where);
    assert.throws(() => tk.cReverse(bytes), { name: 'RangeError' }, where);
    assert.throws(() => syntax.quote(bytes), { name: 'RangeError' }, where);
    assert.equal(tk.heapInUse(), heap, `${where}: nothing left behind`);
  }
});

test('a call that throws once it holds strings leaves nothing behind', () => {
  // 2 GiB passes the length check but is more than the heap can make: the
  // call already holds the strings before it, and must free them.
  const tooBig = new Uint8Array(2 ** 31);
  const heap = tk.heapInUse();
  assert.throws(() => tk.cGetIn(latin1.encode('a|b'), tooBig, 2), { name: 'RangeError', message: /no memory/ });
  assert.throws(() => tk.cFill(latin1.encode('HELLO'), tooBig), { name: 'RangeError', message: /no memory/ });
  assert.equal(tk.heapInUse(), heap);
});

test('arguments are read once, before the call, so a getter may call again', () => {
  const b = latin1.encode;
  // What a getter does: calls that use every piece of the shared frame.
  const inner = [];
  const reenter = () => {
    inner.push(latin1.decode(tk.cGetIn(b('x|y'), b('|'), 2)));
    inner.push(latin1.decode(tk.cFill(b('QQQQ'), b('z')).text));
    inner.push(latin1.decode(tk.cArabicToRoman(variant.refVar('12'))));
  };
  let reads = 0;
  const hooked = (value) => { ++reads; reenter(); return value; };
  const plain = () => [b('a|b|c'), b('|'), 2];
  const getterAt = (args, key) => {
    const value = args[key];
    return Object.defineProperty(args, key, { get: () => hooked(value) });
  };
  const proxyAt = (args, key) => new Proxy(args, { get: (t, k) => (k === key ? hooked(t[k]) : t[k]) });
  const rows = [
    ['an array with a getter', getterAt(plain(), 1)],
    ['a Proxy', proxyAt(plain(), '2')],
    ['a Proxy\'s length', proxyAt(plain(), 'length')],
    ['a view with its own byteLength', [b('a|b|c'), getterAt(b('|'), 'byteLength'), 2]],
  ];
  for (const [what, args] of rows) {
    inner.length = 0;
    reads = 0;
    const heap = tk.heapInUse();
    assert.equal(latin1.decode(tk.call('cGetIn', args)), 'b', what);
    assert.ok(reads <= 1, `${what}: read ${reads} times`);
    assert.deepEqual(inner, reads === 1 ? ['y', 'zzzz', 'xii'] : [], what);
    assert.equal(tk.heapInUse(), heap, `${what}: nothing left behind`);
  }
  // A number or a Variant that is an object is refused without running it.
  const sly = { valueOf: () => hooked(2), toString: () => hooked('2') };
  reads = 0;
  assert.throws(() => tk.cGetIn(b('a|b|c'), b('|'), sly), { name: 'TypeError' });
  assert.throws(() => tk.cArabicToRoman(sly), { name: 'TypeError' });
  assert.equal(reads, 0);
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
