// TwineKit for JavaScript: the library's 64 functions, compiled to
// WebAssembly, called as a Basic host calls them.  Strings go in and come
// out as bytes (Uint8Array); latin1 and utf8 turn JavaScript strings into
// bytes and back.  Each call goes through the module's call layer, which
// takes its string arguments as BSTRs and frees them and its result when
// the call ends, thrown or not, so calls leave nothing behind.
import loadTwineKitWasm from './twinekit_wasm.mjs';
import { exportTable } from './exports.mjs';

const wasm = await loadTwineKitWasm();

// Variant types, as OLE Automation numbers them, and the syntax's name of
// each that holds a number.
const VT_EMPTY = 0, VT_NULL = 1, VT_I2 = 2, VT_I4 = 3, VT_R4 = 4, VT_R8 = 5,
  VT_CY = 6, VT_DATE = 7, VT_BSTR = 8, VT_ERROR = 10, VT_BOOL = 11, VT_VARIANT = 12,
  VT_DECIMAL = 14, VT_I1 = 16, VT_UI1 = 17, VT_UI2 = 18, VT_UI4 = 19, VT_I8 = 20,
  VT_UI8 = 21, VT_INT = 22, VT_UINT = 23, VT_BYREF = 0x4000;
const VARIANT_NAMES = {
  [VT_I1]: 'i1', [VT_I2]: 'i2', [VT_I4]: 'i4', [VT_I8]: 'i8', [VT_UI1]: 'ui1', [VT_UI2]: 'ui2',
  [VT_UI4]: 'ui4', [VT_UI8]: 'ui8', [VT_INT]: 'int', [VT_UINT]: 'uint', [VT_ERROR]: 'error',
  [VT_R4]: 'r4', [VT_R8]: 'r8', [VT_DATE]: 'date', [VT_CY]: 'cy', [VT_BOOL]: 'bool', [VT_DECIMAL]: 'dec',
};

// The Variant argument's cells, reused by every call: the Variant, and
// the cells a Variant by reference points into, Empty between calls.
// Calls never overlap: JavaScript runs one at a time, and no export calls
// back.
const VARIANT_CELLS = 4;
const VARIANT_ARG = wasm._malloc(16 * VARIANT_CELLS);
wasm.HEAPU8.fill(0, VARIANT_ARG, VARIANT_ARG + 16 * VARIANT_CELLS);

const view = () => new DataView(wasm.HEAPU8.buffer);

// The longest string the module can make: a BSTR counts its bytes, its
// header and its terminator in 32 bits, and the heap grows only so far.
const MAX_BYTES = Math.min(2 ** 32 - 1 - 6, wasm._tkw_heap_max() >>> 0);

// The built-in getters of a view's buffer, offset and length.  Read through
// them, a view's own accessors (or a subclass's) never run: such JavaScript
// could call the module in the middle of a call.
const builtInGetters = (prototype) => {
  const get = (key) => Object.getOwnPropertyDescriptor(prototype, key).get;
  return { buffer: get('buffer'), byteOffset: get('byteOffset'), byteLength: get('byteLength') };
};
const TYPED_ARRAY_PROTOTYPE = Object.getPrototypeOf(Uint8Array.prototype);
const TYPED_ARRAY = builtInGetters(TYPED_ARRAY_PROTOTYPE);
const DATA_VIEW = builtInGetters(DataView.prototype);
const typedArrayName = Object.getOwnPropertyDescriptor(TYPED_ARRAY_PROTOTYPE, Symbol.toStringTag).get;

// The bytes of a typed array or a DataView, as a Uint8Array over the same
// memory; a TypeError for anything else, a RangeError past the limit.
function viewBytes(value, where, limit = Infinity) {
  if (!ArrayBuffer.isView(value)) {
    throw new TypeError(`${where}: not bytes (a Uint8Array, any typed array or a DataView; latin1.encode and utf8.encode make them from a string)`);
  }
  const get = typedArrayName.call(value) === undefined ? DATA_VIEW : TYPED_ARRAY;
  const length = get.byteLength.call(value);
  if (length > limit) throw new RangeError(`${where}: ${length} bytes, more than the module holds (${limit})`);
  return new Uint8Array(get.buffer.call(value), get.byteOffset.call(value), length);
}

function checkString(text, where) {
  if (typeof text !== 'string') throw new TypeError(`${where}: not a string`);
}

export { exportTable };

export const latin1 = Object.freeze({
  encode(text) {
    checkString(text, 'latin1.encode');
    const out = new Uint8Array(text.length);
    for (let i = 0; i < text.length; ++i) {
      const c = text.charCodeAt(i);
      if (c > 0xff) {
        throw new RangeError(`latin1.encode: character ${i + 1} (U+${c.toString(16).toUpperCase().padStart(4, '0')}) is not one byte`);
      }
      out[i] = c;
    }
    return out;
  },
  decode(bytes) {
    bytes = viewBytes(bytes, 'latin1.decode');
    let out = '';
    for (let i = 0; i < bytes.length; i += 8192) {
      out += String.fromCharCode.apply(null, bytes.subarray(i, i + 8192));
    }
    return out;
  },
});

export const utf8 = Object.freeze({
  encode(text) {
    checkString(text, 'utf8.encode');
    return new TextEncoder().encode(text);
  },
  decode: (bytes) => new TextDecoder().decode(viewBytes(bytes, 'utf8.decode')),
});

// The Variants the helpers below made: the only objects a Variant argument
// takes, so that every one has a shape writeVariant knows.
const madeVariants = new WeakSet();
function makeVariant(vt, value) {
  const v = Object.freeze({ vt, value });
  madeVariants.add(v);
  return v;
}

// A 64-bit whole number as a bigint of the range given: bits wider than 64
// are refused, not wrapped.
function wholeBigInt(n, signed, what) {
  const b = BigInt(n);
  if (b !== (signed ? BigInt.asIntN(64, b) : BigInt.asUintN(64, b))) {
    throw new RangeError(`variant.${what}: ${n} is out of range`);
  }
  return b;
}

// A Decimal's digits as the library's reader takes and writes them: up to
// 29 digits, 28 of them after the point; a number by its shortest text.
function decimalText(x) {
  const text = typeof x === 'number' ? (Object.is(x, -0) ? '0' : String(x)) : String(x);
  withBytes(latin1.encode(`dec:${text}`), (p, n) => wasm._tkw_parse_value('X'.charCodeAt(0), p, n));
  const answer = JSON.parse(syntaxAnswer());
  if (answer.error !== undefined) throw new RangeError(`variant.dec: ${text} is not a Decimal`);
  return answer.value.decimal;
}

const isVariant = (v) => madeVariants.has(v);

// A reference to target, refused when the references would nest deeper
// than the Variant argument's cells hold (the case syntax nests them less
// deep).
function makeReference(vt, target, what) {
  let depth = 1;
  for (let v = target; v !== null && (v.vt & VT_BYREF) !== 0; v = v.value) ++depth;
  if (depth >= VARIANT_CELLS) throw new RangeError(`${what}: references nested more than ${VARIANT_CELLS - 1} deep`);
  return makeVariant(vt, target);
}

export const variant = Object.freeze({
  empty: makeVariant(VT_EMPTY, null),
  null: makeVariant(VT_NULL, null),
  i1: (n) => makeVariant(VT_I1, Number(n)),
  i2: (n) => makeVariant(VT_I2, Number(n)),
  i4: (n) => makeVariant(VT_I4, Number(n)),
  i8: (n) => makeVariant(VT_I8, wholeBigInt(n, true, 'i8')),
  ui1: (n) => makeVariant(VT_UI1, Number(n)),
  ui2: (n) => makeVariant(VT_UI2, Number(n)),
  ui4: (n) => makeVariant(VT_UI4, Number(n)),
  ui8: (n) => makeVariant(VT_UI8, wholeBigInt(n, false, 'ui8')),
  int: (n) => makeVariant(VT_INT, Number(n)),
  uint: (n) => makeVariant(VT_UINT, Number(n)),
  error: (n) => makeVariant(VT_ERROR, Number(n)),
  bool: (b) => makeVariant(VT_BOOL, b === true ? -1 : b === false ? 0 : Number(b)),
  r4: (x) => makeVariant(VT_R4, Number(x)),
  r8: (x) => makeVariant(VT_R8, Number(x)),
  date: (x) => makeVariant(VT_DATE, Number(x)),
  cy: (x) => makeVariant(VT_CY, typeof x === 'bigint' ? x : BigInt(Math.round(Number(x) * 10000))),
  dec: (x) => makeVariant(VT_DECIMAL, decimalText(x)),
  str: (text) => makeVariant(VT_BSTR, String(text)),
  // A Variant of any type number, its value zero (a String's empty, a
  // reference's variable zero too).
  vt(n) {
    const vt = Number(n) & 0xffff;
    switch (vt) {
      case VT_BSTR: return variant.str('');
      case VT_DECIMAL: return makeVariant(vt, '0');
      case VT_CY: case VT_I8: case VT_UI8: return makeVariant(vt, 0n);
      case VT_VARIANT | VT_BYREF: return makeVariant(vt, null);
    }
    return makeVariant(vt, (vt & VT_BYREF) === 0 ? 0 : variant.vt(vt & ~VT_BYREF));
  },
  // By reference to a variable of target's type holding its value.
  ref(target) {
    const t = toVariant(target, 'variant.ref');
    if ((t.vt & VT_BYREF) !== 0) throw new TypeError('variant.ref: the variable is itself a reference (variant.refVar points to a Variant)');
    return makeReference(t.vt | VT_BYREF, t, 'variant.ref');
  },
  // By reference to a Variant variable holding target.
  refVar: (target) => makeReference(VT_VARIANT | VT_BYREF, toVariant(target, 'variant.refVar'), 'variant.refVar'),
});

// A Variant argument: a whole number in the Long range is a Long, any other
// number a Double, a string a String, null Null, undefined Empty.
function toVariant(value, where) {
  if (value === undefined) return variant.empty;
  if (value === null) return variant.null;
  if (typeof value === 'string') return variant.str(value);
  if (typeof value === 'number') {
    const long = Number.isInteger(value) && value >= -0x80000000 && value <= 0x7fffffff;
    return long ? variant.i4(value) : variant.r8(value);
  }
  if (isVariant(value)) return value;
  throw new TypeError(`${where}: not a number, a string or a Variant`);
}

// A number argument as the 32-bit slot a host passes: whole numbers only,
// taken modulo 2^32 (an Integer's low 16 bits are what counts).
function toSlot(value, where) {
  if (typeof value === 'bigint') return Number(BigInt.asIntN(32, value));
  if (typeof value !== 'number' || !Number.isInteger(value)) {
    throw new TypeError(`${where}: not a whole number`);
  }
  return Number(BigInt.asIntN(32, BigInt(value)));
}

function allocated(p, what) {
  if (p === 0) throw new RangeError(`TwineKit: no memory for ${what}`);
  return p;
}

// Hands string argument i to the open call: a BSTR holding the bytes, or
// 0 (a null BSTR) for null.  The call owns the BSTR before the bytes are
// copied in, and frees it when it ends.
function handBytes(i, bytes, where) {
  if (bytes === null) return;
  const p = allocated(wasm._SysAllocStringByteLen(0, bytes.length), where);
  wasm._tkw_call_string(i, p);
  wasm.HEAPU8.set(bytes, p);
}

// The bytes of a BSTR, copied out; a null BSTR reads as none.
function bstrBytes(p) {
  if (p === 0) return new Uint8Array(0);
  const n = view().getUint32(p - 4, true);
  return wasm.HEAPU8.slice(p, p + n);
}

// Writes a Variant that holds its value at the cell: a String's UTF-16
// BSTR made here, any other's 16 bytes laid out by the library's own
// builder from the Variant written in the syntax.
function writePlainVariant(at, v, where) {
  if (v.vt !== VT_BSTR) {
    let made = 0;
    withBytes(latin1.encode(formatVariant(v)), (p, n) => { made = wasm._tkw_variant_image(at, p, n); });
    if (made !== 1) throw new RangeError(`${where}: ${formatVariant(v)} cannot be passed`);
    return;
  }
  // The BSTR is made before the view: making it may grow memory.
  const text = String(v.value);
  const bstr = allocated(wasm._SysAllocStringLen(0, text.length), where);
  const dv = view();
  for (let i = 0; i < text.length; ++i) dv.setUint16(bstr + 2 * i, text.charCodeAt(i), true);
  dv.setUint16(at, VT_BSTR, true);
  dv.setUint32(at + 8, bstr, true);
}

// Writes the Variant argument into its cells as a Basic host holds it: a
// Variant by reference points into the next cell, at a whole Variant for
// one to a Variant or a Decimal, else at the value of a Variant of the
// variable's type.  The cells are Empty until written, so that
// clearVariantCells frees what was made however far this got.
function writeVariant(v, where) {
  for (let cell = 0; ; ++cell) {
    const at = VARIANT_ARG + 16 * cell;
    if ((v.vt & VT_BYREF) === 0) {
      writePlainVariant(at, v, where);
      return;
    }
    if (cell + 1 === VARIANT_CELLS) throw new RangeError(`${where}: references nested too deep`);
    const target = at + 16;
    const whole = v.vt === (VT_VARIANT | VT_BYREF) || v.vt === (VT_DECIMAL | VT_BYREF);
    const dv = view();
    dv.setUint16(at, v.vt, true);
    dv.setUint32(at + 8, whole ? target : target + 8, true);
    v = v.value ?? variant.empty;
  }
}

// Frees what the cells hold and leaves them Empty for the next call.
function clearVariantCells() {
  for (let cell = 0; cell < VARIANT_CELLS; ++cell) wasm._VariantClear(VARIANT_ARG + 16 * cell);
}

const byName = new Map(exportTable.map((e) => [e.name, e]));

// One argument as a plain value of its kind: a 32-bit slot for a Long or
// an Integer, a Variant the helpers made, bytes or null for a string.
function plainArgument(kind, value, where) {
  if (kind === 'L' || kind === 'I') return toSlot(value, where);
  if (kind === 'X') return toVariant(value, where);
  return value === null || value === undefined ? null : viewBytes(value, where, MAX_BYTES);
}

// The arguments read, each once, and made plain before the module is
// touched: a getter or a Proxy may run JavaScript that calls the module,
// and that call must run to its end before this one makes anything.
function plainArguments(name, e, args) {
  const count = args.length;
  if (count !== e.args.length) {
    throw new TypeError(`${name} takes ${e.args.length} argument${e.args.length === 1 ? '' : 's'}, not ${count}`);
  }
  const values = [];
  for (let i = 0; i < count; ++i) values.push(args[i]);
  return values.map((value, i) => plainArgument(e.args[i], value, `${name}, argument ${i + 1} (${e.params[i]})`));
}

// Hands argument i, made plain, to the open call.  Only a Variant needs
// the cells, which the caller clears after the call.
function handArgument(kind, i, value, where) {
  if (kind === 'L' || kind === 'I') {
    wasm._tkw_call_number(i, value);
  } else if (kind === 'X') {
    writeVariant(value, where);
    wasm._tkw_call_variant(i, VARIANT_ARG);
  } else {
    handBytes(i, value, where);
  }
}

// The open call's result, after it ran: bytes for a string, a number for
// an Integer, a Long or a Variant (which holds a Long).
function callResult(name, kind) {
  switch (kind) {
    case 'S': return bstrBytes(wasm._tkw_call_result_string());
    case 'I': case 'L': return wasm._tkw_call_result_number();
    case 'X': {
      const at = wasm._tkw_call_result_variant();
      const dv = view();
      const vt = dv.getUint16(at, true);
      if (vt !== VT_I4) throw new Error(`${name} gave a Variant of type ${vt}, not a Long`);
      return dv.getInt32(at + 8, true);
    }
  }
  return undefined;
}

// Calls an export by name.  Arguments: bytes (or null) for strings, numbers
// for Longs and Integers, a Variant argument as toVariant reads it.  Gives
// a string result as bytes, a number result as a number, and for an
// in-place function { result, text }, text being its first argument's
// bytes after the call.  The module's call layer holds the call: its
// strings and its result are freed when it ends, thrown or not.
export function call(name, args) {
  const e = byName.get(name);
  if (e === undefined) throw new TypeError(`TwineKit has no function named ${name}`);
  const values = plainArguments(name, e, args);
  wasm._tkw_call_begin(e.ordinal);
  const variantArg = e.args.includes('X');
  try {
    for (let i = 0; i < e.args.length; ++i) {
      handArgument(e.args[i], i, values[i], `${name}, argument ${i + 1} (${e.params[i]})`);
    }
    if (!wasm._tkw_call_run()) throw new RangeError(`TwineKit: no memory for the call of ${name}`);
    const result = callResult(name, e.result);
    // The host reads its variable back: the bytes the export left in it.
    return e.args[0] === 'W' ? { result, text: bstrBytes(wasm._tkw_call_argument(0)) } : result;
  } finally {
    wasm._tkw_call_end();
    if (variantArg) clearVariantCells();
  }
}

// The answer that the module's case-syntax functions left, as text.
function syntaxAnswer() {
  const p = wasm._tkw_text();
  return latin1.decode(wasm.HEAPU8.subarray(p, p + wasm._tkw_text_size()));
}

// Runs f(address, size) on a copy of the bytes inside the module.
function withBytes(bytes, f) {
  const p = allocated(wasm._malloc(Math.max(1, bytes.length)), 'the text');
  try {
    wasm.HEAPU8.set(bytes, p);
    f(p, bytes.length);
  } finally {
    wasm._free(p);
  }
}

function parsed(where) {
  const answer = JSON.parse(syntaxAnswer());
  if (answer.error !== undefined) throw new SyntaxError(`${where}: ${answer.error}`);
  return answer;
}

// A value of the syntax as the functions take it.
function fromSyntax(v) {
  if (v === null) return null;
  if (v.bytes !== undefined) return latin1.encode(v.bytes);
  if (v.number !== undefined) {
    const n = BigInt(v.number);
    return n >= BigInt(Number.MIN_SAFE_INTEGER) && n <= BigInt(Number.MAX_SAFE_INTEGER) ? Number(n) : n;
  }
  if ((v.vt & VT_BYREF) !== 0) return makeVariant(v.vt, v.referent === null ? null : fromSyntax(v.referent));
  switch (v.vt) {
    case VT_EMPTY: return variant.empty;
    case VT_NULL: return variant.null;
    case VT_CY: case VT_I8: return makeVariant(v.vt, BigInt(v.integer));
    case VT_UI8: return makeVariant(v.vt, BigInt.asUintN(64, BigInt(v.integer)));
    case VT_DECIMAL: return makeVariant(v.vt, v.decimal);
    case VT_R4: case VT_R8: case VT_DATE: return makeVariant(v.vt, Number(v.real));
    case VT_BSTR: return variant.str(v.text);
    default: return makeVariant(v.vt, Number(v.integer));
  }
}

const sameBytes = (a, b) => a.length === b.length && a.every((x, i) => x === b[i]);

// A Variant written in the syntax.  References nest less deep than
// VARIANT_CELLS (makeReference and the syntax see to it), so the recursion
// is as shallow.
function formatVariant(v) {
  if (v.vt === (VT_VARIANT | VT_BYREF)) return `ref:var:${formatVariant(v.value ?? variant.empty)}`;
  if ((v.vt & VT_BYREF) !== 0) {
    const target = v.value;
    return target.vt in VARIANT_NAMES || target.vt === VT_BSTR ? `ref:${formatVariant(target)}` : `vt:${v.vt}`;
  }
  switch (v.vt) {
    case VT_EMPTY: return 'empty';
    case VT_NULL: return 'null';
    case VT_BSTR: return `str:${syntax.quote(latin1.encode(v.value))}`;
    case VT_BOOL: return `bool:${v.value}`;
    case VT_DECIMAL: return `dec:${v.value}`;
    case VT_I8: case VT_UI8: return `${VARIANT_NAMES[v.vt]}:${BigInt(v.value)}`;
    case VT_R4: case VT_R8: case VT_DATE:
      return `${VARIANT_NAMES[v.vt]}:${Object.is(v.value, -0) ? '-0' : Number(v.value)}`;
    case VT_CY: {
      const scaled = BigInt(v.value), magnitude = scaled < 0n ? -scaled : scaled;
      return `cy:${scaled < 0n ? '-' : ''}${magnitude / 10000n}.${String(magnitude % 10000n).padStart(4, '0')}`;
    }
  }
  return v.vt in VARIANT_NAMES ? `${VARIANT_NAMES[v.vt]}:${Number(v.value)}` : `vt:${v.vt}`;
}

// Runs f with the module's clock, JavaScript's Date.now, reading the given
// seconds since 1970 (none when negative): the clock cMixChars seeds from.
function atClock(seconds, f) {
  if (seconds < 0) return f();
  const realNow = Date.now;
  Date.now = () => seconds * 1000;
  try {
    return f();
  } finally {
    Date.now = realNow;
  }
}

// The case syntax of tkcall and the case files, read by the library's own
// reader inside the module.
export const syntax = Object.freeze({
  // One case line: { name, args, want, after, clock }.
  parseCase(line) {
    withBytes(latin1.encode(line), (p, n) => wasm._tkw_parse_case(p, n));
    const c = parsed(line);
    return {
      name: c.name,
      args: c.args.map(fromSyntax),
      want: fromSyntax(c.want),
      after: c.after === null ? null : latin1.encode(c.after),
      clock: c.clock,
    };
  },
  // One value of an argument kind (R, W, V strings; L, I numbers; X Variant).
  parseValue(kind, text) {
    withBytes(latin1.encode(text), (p, n) => wasm._tkw_parse_value(kind.charCodeAt(0), p, n));
    return fromSyntax(parsed(text).value);
  },
  // Bytes written in the syntax, as tkcall writes them.
  quote(bytes) {
    withBytes(viewBytes(bytes, 'syntax.quote', MAX_BYTES), (p, n) => wasm._tkw_quote(p, n));
    return syntaxAnswer();
  },
  // An argument as the functions take it written in the syntax, for an
  // argument of the kind given (R, W, V, L, I, X): what parseValue reads
  // back.
  format(value, kind) {
    if (kind !== 'X' && (value === null || value === undefined)) return '@null';
    if (kind !== 'X' && ArrayBuffer.isView(value)) return syntax.quote(value);
    if (kind !== 'X' && (typeof value === 'bigint' || Number.isInteger(value))) return String(value);
    return formatVariant(toVariant(value, 'syntax.format'));
  },
  // Calls a parsed case's function, at its clock.
  callCase(c) {
    return atClock(c.clock, () => call(c.name, c.args));
  },
  // What differs between a parsed case and what its call gave; '' when
  // nothing.
  check(c, seen) {
    const { args, result } = byName.get(c.name);
    const got = args[0] === 'W' ? seen.result : seen;
    const asInt = (bits, n) => Number(BigInt.asIntN(bits, BigInt(n)));
    let problem = '';
    switch (result) {
      case 'S': if (!sameBytes(got, c.want)) problem = `gave ${syntax.quote(got)}`; break;
      case 'I': if (got !== asInt(16, c.want)) problem = `gave ${got}`; break;
      case 'L': if (got !== asInt(32, c.want)) problem = `gave ${got}`; break;
      case 'X': if (c.want.vt !== VT_I4 || got !== c.want.value) problem = `gave i4:${got}`; break;
    }
    if (problem === '' && c.after !== null && !sameBytes(seen.text, c.after)) {
      problem = `left ${syntax.quote(seen.text)} in its argument`;
    }
    return problem;
  },
  // Runs a case line: { seen, problem }, problem '' when the call gives
  // what the line says.
  runCase(line) {
    const c = syntax.parseCase(line);
    const seen = syntax.callCase(c);
    return { seen, problem: syntax.check(c, seen) };
  },
});

// Bytes of the module's heap in use: the same before and after any call.
export const heapInUse = () => wasm._tkw_heap_in_use();

// The 64 functions, each taking its arguments in order, follow: wasm/generate.py
// writes them from the export table.
