using System;
using System.Text;

namespace TwineKit;

// The BSTRs of one call: one slot for each string argument (four at most)
// and the Variant argument, all freed by Free in the call's finally, so that
// nothing is left whatever throws.  A slot holds the address of its BSTR,
// which an in-place export may change.
internal unsafe struct Slots
{
    internal IntPtr S0, S1, S2, S3;
    internal VariantBox Number;

    internal void Free()
    {
        Bstr.Free(S0);
        Bstr.Free(S1);
        Bstr.Free(S2);
        Bstr.Free(S3);
        Variants.Clear(ref Number);
    }
}

// BSTRs holding bytes, made and freed by the library's own allocator: the
// byte count in the four bytes before the first, a null BSTR for a null
// string or array.
internal static unsafe class Bstr
{
    internal static IntPtr FromText(string? text) => text == null ? IntPtr.Zero : FromSpan(Encode(text));

    internal static IntPtr FromBytes(byte[]? bytes) => bytes == null ? IntPtr.Zero : FromSpan(bytes);

    internal static IntPtr FromSpan(ReadOnlySpan<byte> bytes)
    {
        LoadedLibrary library = Exports.Loaded;
        fixed (byte* data = bytes)
        {
            // A null source makes a zeroed string: an empty span still gets
            // a BSTR of length 0, not a null one.
            IntPtr bstr = ((delegate* unmanaged[Stdcall]<byte*, uint, IntPtr>)library.SysAllocStringByteLen)(
                data, (uint)bytes.Length);
            if (bstr == IntPtr.Zero) throw new OutOfMemoryException($"no memory for a string of {bytes.Length} bytes");
            return bstr;
        }
    }

    // A Variant's string, in UTF-16, not converted: as Basic passes one.
    internal static IntPtr FromUtf16(string text)
    {
        fixed (char* data = text)
        {
            IntPtr bstr = ((delegate* unmanaged[Stdcall]<char*, uint, IntPtr>)Exports.Loaded.SysAllocStringLen)(
                data, (uint)text.Length);
            if (bstr == IntPtr.Zero) throw new OutOfMemoryException($"no memory for a string of {text.Length} characters");
            return bstr;
        }
    }

    internal static void Free(IntPtr bstr)
    {
        if (bstr != IntPtr.Zero) ((delegate* unmanaged[Stdcall]<IntPtr, void>)Exports.Loaded.SysFreeString)(bstr);
    }

    internal static ReadOnlySpan<byte> Bytes(IntPtr bstr) =>
        bstr == IntPtr.Zero ? default : new ReadOnlySpan<byte>((void*)bstr, *((int*)bstr - 1));

    // A string result, which is the caller's: read, then freed.
    internal static byte[] TakeBytes(IntPtr bstr)
    {
        try
        {
            return Bytes(bstr).ToArray();
        }
        finally
        {
            Free(bstr);
        }
    }

    internal static string TakeText(IntPtr bstr)
    {
        try
        {
            return Decode(Bytes(bstr));
        }
        finally
        {
            Free(bstr);
        }
    }

    // An in-place argument takes what the export left in its slot only when
    // a byte changed, so that text the encoding cannot carry both ways (a
    // character turned "?") is not lost by a call that changed nothing.
    internal static void WriteBackText(ref string? text, IntPtr bstr)
    {
        ReadOnlySpan<byte> after = Bytes(bstr);
        if (!after.SequenceEqual(text == null ? default : Encode(text))) text = Decode(after);
    }

    internal static void WriteBackBytes(ref byte[]? bytes, IntPtr bstr)
    {
        ReadOnlySpan<byte> after = Bytes(bstr);
        if (bytes != null && after.Length == bytes.Length) after.CopyTo(bytes);
        else if (!after.SequenceEqual(bytes)) bytes = after.ToArray();
    }

    internal static void WriteBackSpan(Span<byte> bytes, IntPtr bstr)
    {
        ReadOnlySpan<byte> after = Bytes(bstr);
        if (after.Length != bytes.Length) throw new InvalidOperationException("an in-place function changed the length of its argument");
        after.CopyTo(bytes);
    }

    private static byte[] Encode(string text) => TextEncoding.Current.GetBytes(text);

    private static string Decode(ReadOnlySpan<byte> bytes)
    {
        if (bytes.IsEmpty) return "";
        fixed (byte* data = bytes) return TextEncoding.Current.GetString(data, bytes.Length);
    }
}
