using System;
using System.Collections.Generic;
using System.Diagnostics;
using System.IO;
using System.Linq;
using System.Reflection;
using System.Text.Json;
using Xunit;
using Xunit.Abstractions;

namespace TwineKit.Tests;

// Every behaviour case through the package: tkcall reads each case file
// with the library's own reader of the case syntax and writes, a line of
// JSON for each call, its arguments and what the native library gave
// (which the native tests check against the line).  Each call is made
// again through the package, once with byte arrays and once with strings
// (Windows-1252, which carries every byte), and must give the same: the
// result, the in-place argument, and, with the test variant, no BSTR left.
// Lines that fix the clock need the test variant's clock; Variants by
// reference and of types .NET has no value for are what only a Basic host
// passes: these are counted as skipped.
public class CaseTests(ITestOutputHelper output)
{
    private static readonly string Root = Path.GetFullPath(Path.Combine(AppContext.BaseDirectory, "../../../../../.."));

    public static TheoryData<string> Files() =>
        new(Directory.GetFiles(Path.Combine(Root, "tests/cases"), "*.cases").Select(Path.GetFileName).Order()!);

    [Theory]
    [MemberData(nameof(Files))]
    public void CasesGiveWhatTheNativeLibraryGives(string file)
    {
        int passed = 0, skipped = 0;
        var problems = new List<string>();
        foreach (bool bytes in new[] { true, false })
        {
            Strings.cSetDefaultSeparator("|");
            int line = 0;
            foreach (JsonElement call in Calls(Path.Combine(Root, "tests/cases", file)))
            {
                ++line;
                string? problem = Run(call, bytes);
                if (problem == null) ++skipped;
                else if (problem == "") ++passed;
                else problems.Add($"{file} call {line} ({(bytes ? "bytes" : "strings")}): {call}: {problem}");
            }
        }
        output.WriteLine($"{file}: {passed} passed, {problems.Count} failed, {skipped} skipped");
        Assert.Empty(problems);
        Assert.True(passed > 0);
    }

    private static IEnumerable<JsonElement> Calls(string file)
    {
        string tkcall = Environment.GetEnvironmentVariable("TK_TKCALL") ?? Path.Combine(Root, "build/native/tools/tkcall/tkcall");
        var start = new ProcessStartInfo(tkcall, ["--run", "--json", file]) { RedirectStandardOutput = true };
        using Process process = Process.Start(start)!;
        string text = process.StandardOutput.ReadToEnd();
        process.WaitForExit();
        Assert.True(process.ExitCode == 0, $"{tkcall} --run --json {file} exited with {process.ExitCode}");
        return text.Split('\n', StringSplitOptions.RemoveEmptyEntries).Select(l => JsonDocument.Parse(l).RootElement);
    }

    // "" when the package gave what tkcall saw, null when the call cannot be
    // made from .NET, else what differed.
    private static string? Run(JsonElement call, bool bytes)
    {
        if (call.TryGetProperty("clock", out _)) return null;
        string name = call.GetProperty("name").GetString()!;
        JsonElement[] json = call.GetProperty("args").EnumerateArray().ToArray();
        MethodInfo method = typeof(Strings).GetMethods().Single(m => m.Name == name && Face(m, bytes));
        ParameterInfo[] parameters = method.GetParameters();
        var args = new object?[json.Length];
        for (int i = 0; i < json.Length; ++i)
        {
            Type type = parameters[i].ParameterType.IsByRef ? parameters[i].ParameterType.GetElementType()! : parameters[i].ParameterType;
            if (!Argument(json[i], type, out args[i])) return null;
        }
        int live = TestLibrary.LiveBstrs();
        object? result = method.Invoke(null, args);
        var seen = new List<string>();
        if (TestLibrary.LiveBstrs() != live) seen.Add($"left {TestLibrary.LiveBstrs() - live} BSTRs");
        if (!Same(result, call.GetProperty("result"))) seen.Add($"gave {Show(result)}");
        if (call.TryGetProperty("after", out JsonElement after) && !Same(args[0], after)) seen.Add($"left {Show(args[0])}");
        return string.Join("; ", seen);
    }

    private static bool Face(MethodInfo m, bool bytes)
    {
        ParameterInfo[] p = m.GetParameters();
        bool hasBytes = p.Any(x => x.ParameterType == typeof(byte[]) || x.ParameterType == typeof(byte[]).MakeByRefType());
        bool hasSpan = p.Any(x => x.ParameterType.IsByRefLike);
        bool hasText = p.Any(x => x.ParameterType == typeof(string) || x.ParameterType == typeof(string).MakeByRefType());
        return !hasSpan && (bytes ? hasBytes || !hasText : !hasBytes);
    }

    private static bool Argument(JsonElement json, Type type, out object? value)
    {
        value = null;
        if (type == typeof(int)) value = unchecked((int)json.GetProperty("number").GetInt64());
        else if (type == typeof(short)) value = unchecked((short)json.GetProperty("number").GetInt64());
        else if (type == typeof(object)) return VariantArgument.TryRead(json, out value);
        else if (json.TryGetProperty("bytes", out JsonElement hex))
        {
            byte[] bytes = Convert.FromHexString(hex.GetString()!);
            value = type == typeof(string) ? Library.Encoding.GetString(bytes) : bytes;
        }
        return true;
    }

    private static byte[] Bytes(object? value) =>
        value is string s ? Library.Encoding.GetBytes(s) : value as byte[] ?? [];

    private static bool Same(object? seen, JsonElement want) => want.ValueKind switch
    {
        JsonValueKind.String => Bytes(seen).SequenceEqual(Convert.FromHexString(want.GetString()!)),
        JsonValueKind.Number => Convert.ToInt64(seen) == want.GetInt64(),
        _ => seen == null,
    };

    private static string Show(object? value) => value is string or byte[] ? Convert.ToHexString(Bytes(value)) : $"{value}";
}
