using System;
using System.Collections.Generic;
using System.IO;
using System.Reflection;
using System.Runtime.InteropServices;

namespace TwineKit;

// Which native library this process needs, where to look for it, and what
// to say when it cannot be had, in the words of TwineKitLoad in
// TwineKit.bas: the file is not there, only the other width's is, it is not
// a library of this process's width, or the system blocked it.
internal static class NativeFile
{
    internal static readonly bool IsWindows = RuntimeInformation.IsOSPlatform(OSPlatform.Windows);
    private static readonly bool Is64 = IntPtr.Size == 8;
    internal static readonly string Name = IsWindows ? (Is64 ? "TWINEKIT64.DLL" : "TWINEKIT.DLL") : "libtwinekit.so";
    private static readonly string OtherName = Is64 ? "TWINEKIT.DLL" : "TWINEKIT64.DLL";
    private static readonly string Width = Is64 ? "64-bit" : "32-bit";

    // The package's folder of this platform's runtime assets, or null.
    private static string? RuntimeId()
    {
        Architecture machine = RuntimeInformation.ProcessArchitecture;
        if (IsWindows && machine == Architecture.X86) return "win-x86";
        if (IsWindows && machine == Architecture.X64) return "win-x64";
        if (RuntimeInformation.IsOSPlatform(OSPlatform.Linux) && machine == Architecture.X64) return "linux-x64";
        return null;
    }

    // The library of this process, from the first of the folders a package's
    // assets land in that holds it, else from the system's search path.
    internal static (IntPtr Handle, string Path) LoadDefault()
    {
        string rid = RuntimeId() ?? throw new PlatformNotSupportedException(
            $"TwineKit has libraries for 32- and 64-bit Windows on x86 and x64 ({OtherName} and {Name}) and for 64-bit Linux on x64 (libtwinekit.so); " +
            $"this process is {RuntimeInformation.OSDescription}, {RuntimeInformation.ProcessArchitecture}.");
        List<string> folders = Folders(rid);
        foreach (string folder in folders)
        {
            string path = Path.Combine(folder, Name);
            if (File.Exists(path)) return (Open(path), path);
        }
        IntPtr handle = IsWindows ? LoadLibraryExW(Name, IntPtr.Zero, 0) : dlopen(Name, RtldNow);
        if (handle != IntPtr.Zero) return (handle, Name);
        throw NotFound(folders, searched: true);
    }

    internal static (IntPtr Handle, string Path) LoadFrom(string folder)
    {
        string path = Path.Combine(Path.GetFullPath(folder), Name);
        if (!File.Exists(path)) throw NotFound(new List<string> { Path.GetFullPath(folder) }, searched: false);
        return (Open(path), path);
    }

    // Where NuGet puts the assets: runtimes/RID/native under the program's
    // folder (a build for any platform), the program's folder itself (a
    // build for one, or a .NET Framework program), and the same beside this
    // assembly and in its package (lib/TFM/../../runtimes).
    private static List<string> Folders(string rid)
    {
        var folders = new List<string>();
        void Add(string? folder)
        {
            if (string.IsNullOrEmpty(folder)) return;
            string full = Path.GetFullPath(folder);
            if (!folders.Contains(full)) folders.Add(full);
        }
        string native = Path.Combine("runtimes", rid, "native");
        foreach (string? root in new[] { AppContext.BaseDirectory, Path.GetDirectoryName(typeof(NativeFile).GetTypeInfo().Assembly.Location) })
        {
            if (string.IsNullOrEmpty(root)) continue;
            Add(Path.Combine(root, native));
            Add(root);
            Add(Path.Combine(root, "..", "..", native));
        }
        return folders;
    }

    private static Exception NotFound(List<string> folders, bool searched)
    {
        if (IsWindows)
        {
            foreach (string folder in folders)
            {
                if (File.Exists(Path.Combine(folder, OtherName)))
                    return new DllNotFoundException(
                        $"{Name} is not in {folder}, only {OtherName}, which serves the other width: this process is {Width} and needs {Name} beside it.");
            }
        }
        string where = !searched ? "" : IsWindows ? ", nor on the system's search path (the PATH)" : ", nor on the system's search path (LD_LIBRARY_PATH)";
        return new DllNotFoundException($"{Name} was not found in {string.Join(", ", folders)}{where}.");
    }

    private static IntPtr Open(string path)
    {
        if (!IsWindows)
        {
            dlerror();  // bound now, and any earlier error cleared, so that the next one is dlopen's
            IntPtr handle = dlopen(path, RtldNow);
            if (handle != IntPtr.Zero) return handle;
            string why = Marshal.PtrToStringAnsi(dlerror()) ?? "";
            if (ElfClass(path) is { } bits && bits != IntPtr.Size * 8)
                throw new BadImageFormatException($"{path} is not a {Width} library: it is {bits}-bit, and this process needs {Name} of the {Width} Linux build.");
            throw new DllNotFoundException($"{path} could not be loaded: {why}");
        }
        IntPtr module = LoadLibraryExW(path, IntPtr.Zero, LoadWithAlteredSearchPath);
        if (module != IntPtr.Zero) return module;
        int code = Marshal.GetLastWin32Error();
        switch (code)
        {
            case 193: case 216:  // not a valid image for this machine
                throw new BadImageFormatException($"{path} is not a {Width} DLL: this process needs {Name} of the {Width} build.");
            case 5: case 225: case 1260: case 4551: case 4556:  // access denied, malware, policy, application control
                throw new DllNotFoundException(
                    $"{path} is blocked (Windows error {code}): unblock the file (Properties, Unblock) or ask whoever manages the computer to allow it.");
            default:
                throw new DllNotFoundException($"{path} could not be loaded (Windows error {code}).");
        }
    }

    // The width of an ELF file, 32 or 64, or null for another file.
    private static int? ElfClass(string path)
    {
        var head = new byte[5];
        try
        {
            using FileStream file = File.OpenRead(path);
            if (file.Read(head, 0, 5) != 5) return null;
        }
        catch (Exception e) when (e is IOException or UnauthorizedAccessException)
        {
            return null;
        }
        if (head[0] != 0x7F || head[1] != 'E' || head[2] != 'L' || head[3] != 'F') return null;
        return head[4] == 1 ? 32 : head[4] == 2 ? 64 : null;
    }

    // The address of an export, or zero.
    internal static IntPtr Symbol(IntPtr handle, string name) =>
        IsWindows ? GetProcAddress(handle, name) : dlsym(handle, name);

    // A system library already in every Windows process's reach.
    internal static IntPtr System(string name) => LoadLibraryExW(name, IntPtr.Zero, 0);

    private const int RtldNow = 2;
    private const uint LoadWithAlteredSearchPath = 8;

    [DllImport("kernel32.dll", CharSet = CharSet.Unicode, SetLastError = true)]
    private static extern IntPtr LoadLibraryExW(string fileName, IntPtr reserved, uint flags);

    [DllImport("kernel32.dll", CharSet = CharSet.Ansi, ExactSpelling = true, BestFitMapping = false)]
    private static extern IntPtr GetProcAddress(IntPtr module, string name);

    [DllImport("libdl.so.2", CharSet = CharSet.Ansi, BestFitMapping = false)]
    private static extern IntPtr dlopen(string fileName, int flags);

    [DllImport("libdl.so.2", CharSet = CharSet.Ansi, BestFitMapping = false)]
    private static extern IntPtr dlsym(IntPtr handle, string name);

    [DllImport("libdl.so.2")]
    private static extern IntPtr dlerror();
}
