// TwineKit for JavaScript: the library's 64 functions, compiled to
// WebAssembly, called as a Basic host calls them.  Strings go in and come
// out as bytes (Uint8Array); latin1 and utf8 turn JavaScript strings into
// bytes and back.  Each call makes its string arguments as BSTRs inside the
// module, and frees them and its result before it returns, so calls leave
// nothing behind.
import loadTwineKitWasm from './twinekit_wasm.mjs';
import { exportTable } from './exports.mjs';

const wasm = await loadTwineKitWasm();

// Variant types, as OLE Automation numbers them.
const VT_EMPTY = 0, VT_NULL = 1, VT_I2 = 2, VT_I4 = 3, VT_R4 = 4, VT_R8 = 5,
  VT_CY = 6, VT_DATE = 7, VT_BSTR = 8, VT_BOOL = 11, VT_UI1 = 17;
const VARIANT_NAMES = { [VT_I2]: 'i2', [VT_I4]: 'i4', [VT_R4]: 'r4', [VT_R8]: 'r8', [VT_CY]: 'cy', [VT_DATE]: 'date', [VT_BOOL]: 'bool', [VT_UI1]: 'ui1' };
const VARIANT_TYPES = new Set([VT_EMPTY, VT_NULL, VT_BSTR, ...Object.keys(VARIANT_NAMES).map(Number)]);

// One call's frame, reused by every call: four String variables (the
// by-reference arguments point at them), a Variant argument and the Variant
// result.  Calls never overlap: JavaScript runs one at a time, and no
// export calls back.
const VARIABLES = wasm._malloc(48);
const VARIANT_ARG = VARIABLES + 16;
const VARIANT_RESULT = VARIABLES + 32;

const view = () => new DataView(wasm.HEAPU8.buffer);

export { exportTable };

export const latin1 = Object.freeze({
  encode(text) {
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
    let out = '';
    for (let i = 0; i < bytes.length; i += 8192) {
      out += String.fromCharCode.apply(null, bytes.subarray(i, i + 8192));
    }
    return out;
  },
});

export const utf8 = Object.freeze({
  encode: (text) => new TextEncoder().encode(text),
  decode: (bytes) => new TextDecoder().decode(bytes),
});

const makeVariant = (vt, value) => Object.freeze({ vt, value });

export const variant = Object.freeze({
  empty: makeVariant(VT_EMPTY, null),
  null: makeVariant(VT_NULL, null),
  i2: (n) => makeVariant(VT_I2, Number(n)),
  i4: (n) => makeVariant(VT_I4, Number(n)),
  ui1: (n) => makeVariant(VT_UI1, Number(n)),
  bool: (b) => makeVariant(VT_BOOL, b === true ? -1 : b === false ? 0 : Number(b)),
  r4: (x) => makeVariant(VT_R4, Number(x)),
  r8: (x) => makeVariant(VT_R8, Number(x)),
  date: (x) => makeVariant(VT_DATE, Number(x)),
  cy: (x) => makeVariant(VT_CY, typeof x === 'bigint' ? x : BigInt(Math.round(Number(x) * 10000))),
  str: (text) => makeVariant(VT_BSTR, String(text)),
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
  if (typeof value === 'object' && VARIANT_TYPES.has(value.vt)) return value;
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

// A BSTR holding the bytes, or 0 (a null BSTR) for null or undefined.
function makeBstr(bytes, where) {
  if (bytes === null || bytes === undefined) return 0;
  if (!ArrayBuffer.isView(bytes)) {
    throw new TypeError(`${where}: not bytes (a Uint8Array; latin1.encode and utf8.encode make them from a string)`);
  }
  const data = new Uint8Array(bytes.buffer, bytes.byteOffset, bytes.byteLength);
  const p = allocated(wasm._SysAllocStringByteLen(0, data.length), where);
  wasm.HEAPU8.set(data, p);
  return p;
}

// The bytes of a BSTR, copied out; a null BSTR reads as none.
function bstrBytes(p) {
  if (p === 0) return new Uint8Array(0);
  const n = view().getUint32(p - 4, true);
  return wasm.HEAPU8.slice(p, p + n);
}

function writeVariant(at, v, where) {
  // A String's UTF-16 BSTR is made before the view: making it may grow memory.
  const text = v.vt === VT_BSTR ? String(v.value) : '';
  const bstr = v.vt === VT_BSTR ? allocated(wasm._SysAllocStringLen(0, text.length), where) : 0;
  const dv = view();
  for (let i = 0; i < 16; i += 4) dv.setUint32(at + i, 0);
  dv.setUint16(at, v.vt, true);
  const value = at + 8;
  switch (v.vt) {
    case VT_I2: case VT_BOOL: dv.setInt16(value, Number(v.value), true); break;
    case VT_I4: dv.setInt32(value, Number(v.value), true); break;
    case VT_UI1: dv.setUint8(value, Number(v.value)); break;
    case VT_R4: dv.setFloat32(value, Number(v.value), true); break;
    case VT_R8: case VT_DATE: dv.setFloat64(value, Number(v.value), true); break;
    case VT_CY: dv.setBigInt64(value, BigInt(v.value), true); break;
    case VT_BSTR:
      for (let i = 0; i < text.length; ++i) dv.setUint16(bstr + 2 * i, text.charCodeAt(i), true);
      dv.setUint32(value, bstr, true);
      break;
  }
}

const byName = new Map(exportTable.map((e) => [e.name, e]));

// Calls an export by name.  Arguments: bytes (or null) for strings, numbers
// for Longs and Integers, a Variant argument as toVariant reads it.  Gives
// a string result as bytes, a number result as a number, and for an
// in-place function { result, text }, text being its first argument's
// bytes after the call.
export function call(name, args) {
  const e = byName.get(name);
  if (e === undefined) throw new TypeError(`TwineKit has no function named ${name}`);
  if (args.length !== e.args.length) {
    throw new TypeError(`${name} takes ${e.args.length} argument${e.args.length === 1 ? '' : 's'}, not ${args.length}`);
  }
  const strings = [];
  let variantArg = false;
  try {
    const slots = [];
    for (let i = 0; i < e.args.length; ++i) {
      const where = `${name}, argument ${i + 1} (${e.params[i]})`;
      const kind = e.args[i];
      if (kind === 'L' || kind === 'I') {
        slots.push(toSlot(args[i], where));
      } else if (kind === 'X') {
        writeVariant(VARIANT_ARG, toVariant(args[i], where), where);
        variantArg = true;
        slots.push(VARIANT_ARG);
      } else {
        const bstr = makeBstr(args[i], where);
        strings.push(bstr);
        if (kind === 'V') {
          slots.push(bstr);
        } else {
          view().setUint32(VARIABLES + 4 * i, bstr, true);
          slots.push(VARIABLES + 4 * i);
        }
      }
    }
    const fn = wasm[`_${name}`];
    let result;
    switch (e.result) {
      case 'S': {
        const bstr = fn(...slots);
        result = bstrBytes(bstr);
        wasm._SysFreeString(bstr);
        break;
      }
      case 'I': result = (fn(...slots) << 16) >> 16; break;
      case 'L': result = fn(...slots) | 0; break;
      case 'X': {
        fn(VARIANT_RESULT, ...slots);
        const dv = view();
        const vt = dv.getUint16(VARIANT_RESULT, true);
        if (vt !== VT_I4) throw new Error(`${name} gave a Variant of type ${vt}, not a Long`);
        result = dv.getInt32(VARIANT_RESULT + 8, true);
        break;
      }
      default: fn(...slots); result = undefined;
    }
    // The host reads its variable back: the BSTR now stored in it.
    if (e.args[0] === 'W') return { result, text: bstrBytes(view().getUint32(VARIABLES, true)) };
    return result;
  } finally {
    for (const bstr of strings) wasm._SysFreeString(bstr);
    if (variantArg) wasm._VariantClear(VARIANT_ARG);
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
  switch (v.vt) {
    case VT_EMPTY: return variant.empty;
    case VT_NULL: return variant.null;
    case VT_CY: return variant.cy(BigInt(v.integer));
    case VT_R4: case VT_R8: case VT_DATE: return makeVariant(v.vt, Number(v.real));
    case VT_BSTR: return variant.str(v.text);
    default: return makeVariant(v.vt, Number(v.integer));
  }
}

const sameBytes = (a, b) => a.length === b.length && a.every((x, i) => x === b[i]);

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
    withBytes(bytes, (p, n) => wasm._tkw_quote(p, n));
    return syntaxAnswer();
  },
  // An argument as the functions take it written in the syntax, for an
  // argument of the kind given (R, W, V, L, I, X): what parseValue reads
  // back.
  format(value, kind) {
    if (kind !== 'X' && (value === null || value === undefined)) return '@null';
    if (kind !== 'X' && ArrayBuffer.isView(value)) {
      return syntax.quote(new Uint8Array(value.buffer, value.byteOffset, value.byteLength));
    }
    if (kind !== 'X' && (typeof value === 'bigint' || Number.isInteger(value))) return String(value);
    const v = toVariant(value, 'syntax.format');
    switch (v.vt) {
      case VT_EMPTY: return 'empty';
      case VT_NULL: return 'null';
      case VT_BSTR: return `str:${syntax.quote(latin1.encode(v.value))}`;
      case VT_CY: {
        const scaled = BigInt(v.value), magnitude = scaled < 0n ? -scaled : scaled;
        return `cy:${scaled < 0n ? '-' : ''}${magnitude / 10000n}.${String(magnitude % 10000n).padStart(4, '0')}`;
      }
    }
    return `${VARIANT_NAMES[v.vt]}:${v.vt === VT_BOOL ? v.value : Number(v.value)}`;
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
