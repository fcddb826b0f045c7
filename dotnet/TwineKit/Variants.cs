using System;
using System.Runtime.InteropServices;

namespace TwineKit;

// A VARIANT laid out by hand: vt in the first two bytes, the value from
// byte 8 (a DECIMAL over the first 16), 24 bytes in all, the size of the
// 64-bit Windows one; the others use the first 16.
[StructLayout(LayoutKind.Sequential)]
internal struct VariantBox
{
    internal ulong Head, Value, Tail;

    internal ushort Type => (ushort)Head;
}

// The 16 bytes a native build returns a VARIANT in (two registers).
[StructLayout(LayoutKind.Sequential)]
internal struct VariantPair
{
    internal ulong Head, Value;
}

internal static unsafe class Variants
{
    private const ushort Empty = 0, Null = 1, I2 = 2, I4 = 3, R4 = 4, R8 = 5, Cy = 6, Date = 7, Bstr = 8,
                         Error = 10, Bool = 11, Decimal = 14, I1 = 16, Ui1 = 17, Ui2 = 18, Ui4 = 19, I8 = 20, Ui8 = 21;

    // The Variant a Basic program would pass for value: null is Empty,
    // DBNull.Value Null, a string a BSTR of its UTF-16 text (not converted,
    // as Basic passes a Variant's string), CurrencyWrapper a Currency,
    // ErrorWrapper an Error, an enum its number.
    internal static void Set(VariantBox* v, object? value)
    {
        *v = default;
        switch (value)
        {
            case null: return;
            case DBNull: Put(v, Null, 0); return;
            case bool b: Put(v, Bool, b ? 0xFFFFu : 0); return;
            case sbyte n: Put(v, I1, (byte)n); return;
            case byte n: Put(v, Ui1, n); return;
            case short n: Put(v, I2, (ushort)n); return;
            case ushort n: Put(v, Ui2, n); return;
            case int n: Put(v, I4, (uint)n); return;
            case uint n: Put(v, Ui4, n); return;
            case long n: Put(v, I8, (ulong)n); return;
            case ulong n: Put(v, Ui8, n); return;
            case float n: Put(v, R4, *(uint*)&n); return;
            case double n: Put(v, R8, *(ulong*)&n); return;
            case DateTime t: { double d = t.ToOADate(); Put(v, Date, *(ulong*)&d); return; }
            case decimal d: PutDecimal(v, d); return;
#pragma warning disable CS0618 // CurrencyWrapper: the one way .NET names a Currency
            case CurrencyWrapper c: Put(v, Cy, (ulong)decimal.ToOACurrency((decimal)c.WrappedObject)); return;
            case ErrorWrapper e: Put(v, Error, (uint)e.ErrorCode); return;
#pragma warning restore CS0618
            case string s: Put(v, Bstr, (ulong)TwineKit.Bstr.FromUtf16(s)); return;
            case Enum e: Set(v, Convert.ChangeType(e, Enum.GetUnderlyingType(e.GetType()))); return;
        }
        throw new ArgumentException(
            $"A Variant cannot hold a {value.GetType()}: pass a number, a string, a DateTime, a Boolean, null (Empty) or DBNull.Value (Null).");
    }

    private static void Put(VariantBox* v, ushort type, ulong value)
    {
        v->Head = type;
        v->Value = value;
    }

    // DECIMAL: the scale in byte 2, the sign in byte 3, the high 32 bits of
    // the 96-bit number in bytes 4 to 7, the low 64 from byte 8.
    private static void PutDecimal(VariantBox* v, decimal d)
    {
        int[] bits = decimal.GetBits(d);
        ulong scale = (ulong)((bits[3] >> 16) & 0xFF), sign = (ulong)((uint)bits[3] >> 31) << 7;
        v->Head = Decimal | scale << 16 | sign << 24 | (ulong)(uint)bits[2] << 32;
        v->Value = (uint)bits[0] | (ulong)(uint)bits[1] << 32;
    }

    internal static void Clear(ref VariantBox v)
    {
        if (v.Type == Empty) return;
        fixed (VariantBox* p = &v) ((delegate* unmanaged[Stdcall]<VariantBox*, int>)Exports.Loaded.VariantClear)(p);
    }

    // A Variant result of subtype Long, which the caller owns: its number.
    internal static int TakeLong(VariantBox v)
    {
        try
        {
            if (v.Type != I4) throw new InvalidOperationException($"the library gave a Variant of type {v.Type}, not a Long");
            return (int)(uint)v.Value;
        }
        finally
        {
            Clear(ref v);
        }
    }

    // An export returning a VARIANT: on Windows through a result address
    // passed first and handed back, elsewhere in registers.
    internal static VariantBox CallReturning(IntPtr export, IntPtr* txt)
    {
        var result = new VariantBox();
        if (NativeFile.IsWindows)
        {
            ((delegate* unmanaged[Stdcall]<VariantBox*, IntPtr*, VariantBox*>)export)(&result, txt);
            return result;
        }
        VariantPair pair = ((delegate* unmanaged[Stdcall]<IntPtr*, VariantPair>)export)(txt);
        result.Head = pair.Head;
        result.Value = pair.Value;
        return result;
    }
}
