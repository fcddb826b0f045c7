using System;
using System.Runtime.InteropServices;
using System.Text;
using System.Threading;

namespace TwineKit;

// The encoding strings go through: the system's ANSI code page on Windows,
// as Basic converts around a Declare call, and Windows-1252 elsewhere.  A
// character the code page lacks becomes "?" (no best fit: "１２３" must
// not reach cCheckNumericity as "123"); every byte of a single-byte code
// page comes back as it went.  Set once, before the first conversion, so
// that no string of the process is read one way and written another.
internal static class TextEncoding
{
    private static readonly object Gate = new();
    private static Encoding? current;

    internal static Encoding Current
    {
        get
        {
            if (Volatile.Read(ref current) is { } encoding) return encoding;
            lock (Gate) return current ??= ForCodePage(SystemCodePage());
        }
    }

    internal static void Set(Encoding encoding)
    {
        if (encoding == null) throw new ArgumentNullException(nameof(encoding));
        lock (Gate)
        {
            if (current != null)
                throw new InvalidOperationException(
                    $"TwineKit's encoding is set once, before the first string is converted; it is already {current.WebName} (code page {current.CodePage}).");
            current = (Encoding)encoding.Clone();
            current.EncoderFallback = EncoderFallback.ReplacementFallback;
            current.DecoderFallback = DecoderFallback.ReplacementFallback;
        }
    }

    internal static Encoding ForCodePage(int codePage)
    {
        Encoding.RegisterProvider(CodePagesEncodingProvider.Instance);
        return Encoding.GetEncoding(codePage, EncoderFallback.ReplacementFallback, DecoderFallback.ReplacementFallback);
    }

    private static int SystemCodePage() =>
        RuntimeInformation.IsOSPlatform(OSPlatform.Windows) ? (int)GetACP() : 1252;

    [DllImport("kernel32.dll")]
    private static extern uint GetACP();
}
