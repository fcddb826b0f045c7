using System;
using System.Runtime.CompilerServices;
using System.Runtime.InteropServices;
using Xunit;

[assembly: CollectionBehavior(DisableTestParallelization = true)]  // the default separator is the process's

namespace TwineKit.Tests;

// The library the tests run against: the package's own, or, with
// TWINEKIT_TEST_LIBRARY_FOLDER set, the test variant of the native build
// (libtwinekit_testing.so copied there as libtwinekit.so), loaded through
// Library.Load before any call, whose hooks count the live BSTRs and make
// an allocation fail.
internal static unsafe class TestLibrary
{
    private static delegate* unmanaged<int> liveBstrs;
    private static delegate* unmanaged<int, int, void> failBstr;

    [ModuleInitializer]
    internal static void Load()
    {
        string? folder = Environment.GetEnvironmentVariable("TWINEKIT_TEST_LIBRARY_FOLDER");
        if (string.IsNullOrEmpty(folder)) return;
        Library.Load(folder);
        IntPtr handle = NativeLibrary.Load(Library.FilePath);
        liveBstrs = (delegate* unmanaged<int>)NativeLibrary.GetExport(handle, "tk_test_live_bstrs");
        failBstr = (delegate* unmanaged<int, int, void>)NativeLibrary.GetExport(handle, "tk_test_fail_bstr");
    }

    internal static bool HasHooks => liveBstrs != null;

    // The BSTRs made and not yet freed, or 0 without the hooks.
    internal static int LiveBstrs() => HasHooks ? liveBstrs() : 0;

    // The k-th BSTR allocation from now fails; 0 turns that off.
    internal static void FailBstr(int k) => failBstr(k, 0);
}
