using System;
using System.IO;
using System.Linq;
using System.Reflection;
using System.Runtime.InteropServices;
using System.Runtime.Versioning;
using System.Text;
using Xunit;

namespace TwineKit.Tests;

// What the package adds around the library: the spans, the encoding and its
// rule, the in-place arguments written back, the Variants made from .NET
// values, the loader, and nothing left behind when a call fails.
public class FaceTests
{
    private static readonly byte[] AllBytes = Enumerable.Range(0, 256).Select(b => (byte)b).ToArray();

    [Fact]
    public void SpansGiveWhatArraysGive()
    {
        Assert.Equal("b"u8.ToArray(), Strings.cGetIn("a|b|c"u8, "|"u8, 2));
        Assert.Equal(Strings.cToHexa(AllBytes), Strings.cToHexa(AllBytes.AsSpan()));
        Assert.Equal(AllBytes.Reverse(), Strings.cReverse(new ReadOnlySpan<byte>(AllBytes)));
        Span<byte> text = "HELLO"u8.ToArray();
        Assert.Equal(-1, Strings.cFill(text, "ab"u8));
        Assert.Equal("ababa"u8.ToArray(), text.ToArray());
        Assert.Equal(0, Strings.cFill(Span<byte>.Empty, "ab"u8));
    }

    [Fact]
    public void StringsGoThroughWindows1252HereEveryByteComingBack()
    {
        Assert.Equal(1252, Library.Encoding.CodePage);
        string all = Library.Encoding.GetString(AllBytes);
        Assert.Equal(256, all.Length);
        Assert.Equal(Convert.ToHexString(AllBytes), Strings.cToHexa(all));
        Assert.Equal(all, Strings.cReverse(Strings.cReverse(all)));
        Assert.Equal("80", Strings.cToHexa("€"));
        Assert.Equal("3F", Strings.cToHexa("Ω"));                  // a character 1252 lacks: "?"
        Assert.Equal(0, Strings.cCheckNumericity("１２３"));       // no best fit to "123"
        Assert.Throws<InvalidOperationException>(() => Library.SetEncoding(Encoding.UTF8));
    }

    [Theory]
    [InlineData(null, "", null)]
    [InlineData("HELLO", "ab", "ababa")]
    [InlineData("Ω-Ω", "", "Ω-Ω")]      // nothing changed: the text the code page lacks stays
    [InlineData("Ω-Ω", "ab", "aba")]
    public void AnInPlaceStringTakesTheBytesOnlyWhenOneChanged(string? text, string filler, string? after)
    {
        Strings.cFill(ref text, filler);
        Assert.Equal(after, text);
    }

    [Fact]
    public void AnInPlaceArrayIsWrittenInPlace()
    {
        byte[]? text = "abc"u8.ToArray();
        byte[] same = text;
        Assert.Equal(-1, Strings.cChangeChars(ref text, "b"u8.ToArray(), "x"u8.ToArray()));
        Assert.Same(same, text);
        Assert.Equal("axc"u8.ToArray(), text);
        byte[]? none = null;
        Assert.Equal(0, Strings.cCnvASCIItoEBCDIC(ref none));
        Assert.Null(none);
    }

    private enum Year { Orwell = 1984 }

    public static TheoryData<object?, string> Numbers() => new()
    {
        { 1994, "mcmxciv" }, { (short)1994, "mcmxciv" }, { 1994L, "mcmxciv" }, { (byte)200, "cc" },
        { (sbyte)100, "c" }, { (ushort)12, "xii" }, { 12u, "xii" }, { 12ul, "xii" },
        { 3.5, "iv" }, { 2.5f, "ii" }, { 2.5m, "ii" }, { 1994.4999m, "mcmxciv" }, { -5, "" },
        { "12", "xii" }, { " 12 ", "xii" }, { "12abc", "" }, { null, "" }, { DBNull.Value, "" },
        { true, "" }, { DateTime.FromOADate(12), "xii" }, { Year.Orwell, "mcmlxxxiv" },
#pragma warning disable CS0618
        { new CurrencyWrapper(3.5m), "iv" }, { new ErrorWrapper(12), "" },
#pragma warning restore CS0618
    };

    [Theory]
    [MemberData(nameof(Numbers))]
    public void AVariantIsMadeFromADotNetValue(object? number, string roman)
    {
        int live = TestLibrary.LiveBstrs();
        Assert.Equal(roman, Strings.cArabicToRoman(number));
        Assert.Equal(live, TestLibrary.LiveBstrs());
    }

    [Fact]
    public void AVariantResultIsItsLong()
    {
        Assert.Equal(1900, Strings.cRomanToArabic("mcm"));
        Assert.Equal(14, Strings.cRomanToArabic("xiv"u8));
        Assert.Equal(0, Strings.cRomanToArabic((byte[]?)null));
        var e = Assert.Throws<ArgumentException>(() => Strings.cArabicToRoman(new object()));
        Assert.Contains("System.Object", e.Message);
    }

    [Fact]
    public void TheLibraryComesFromThePackagesRuntimeAssets()
    {
        string framework = typeof(FaceTests).Assembly.GetCustomAttributes<AssemblyMetadataAttribute>()
            .Single(a => a.Key == "TwineKitLibFramework").Value!;
        Assert.StartsWith(framework, typeof(Strings).Assembly.GetCustomAttribute<TargetFrameworkAttribute>()!.FrameworkName);
        if (!TestLibrary.HasHooks)
            Assert.EndsWith(Path.Combine("runtimes", "linux-x64", "native", "libtwinekit.so"), Library.FilePath);
        var e = Assert.Throws<InvalidOperationException>(() => Library.Load("/"));
        Assert.Contains(Library.FilePath, e.Message);
    }

    // With the test variant: an argument's BSTR that cannot be made, after
    // another was, throws and frees that other; a result the library cannot
    // make comes back empty; nothing is left either way.
    [Theory]
    [InlineData(1, typeof(OutOfMemoryException))]
    [InlineData(2, typeof(OutOfMemoryException))]
    [InlineData(3, null)]
    public void AFailedAllocationLeavesNothing(int failing, Type? thrown)
    {
        if (!TestLibrary.HasHooks) return;
        int live = TestLibrary.LiveBstrs();
        TestLibrary.FailBstr(failing);
        try
        {
            Exception? e = Record.Exception(() => Assert.Equal("", Strings.cGetIn("a|b", "|", 2)));
            Assert.Equal(thrown, e?.GetType());
        }
        finally
        {
            TestLibrary.FailBstr(0);
        }
        Assert.Equal(live, TestLibrary.LiveBstrs());
    }
}
