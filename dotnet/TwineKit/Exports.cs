using System;

namespace TwineKit;

// The loaded library: the address of each export, in ordinal order, and the
// string and Variant functions of the allocator the library uses, from
// OLEAUT32 on Windows and from the library itself elsewhere (the native
// build carries its own and exports them), so that every BSTR the library
// reads or frees was made where it expects.
internal sealed class LoadedLibrary
{
    internal readonly string Path;
    internal readonly IntPtr[] Addresses;
    internal readonly IntPtr SysAllocStringByteLen, SysAllocStringLen, SysFreeString, VariantClear;

    internal LoadedLibrary(IntPtr handle, string path)
    {
        Path = path;
        Addresses = Array.ConvertAll(Native.Names, name => Find(handle, name, path));
        IntPtr allocator = NativeFile.IsWindows ? NativeFile.System("oleaut32.dll") : handle;
        string from = NativeFile.IsWindows ? "oleaut32.dll" : path;
        SysAllocStringByteLen = Find(allocator, "SysAllocStringByteLen", from);
        SysAllocStringLen = Find(allocator, "SysAllocStringLen", from);
        SysFreeString = Find(allocator, "SysFreeString", from);
        VariantClear = Find(allocator, "VariantClear", from);
    }

    private static IntPtr Find(IntPtr handle, string name, string path)
    {
        IntPtr address = handle == IntPtr.Zero ? IntPtr.Zero : NativeFile.Symbol(handle, name);
        if (address == IntPtr.Zero)
            throw new EntryPointNotFoundException($"{path} has no function {name}: it is not TwineKit's {NativeFile.Name}, or an older one.");
        return address;
    }
}

internal static class Exports
{
    private static readonly object Gate = new();
    private static volatile LoadedLibrary? loaded;

    internal static LoadedLibrary Loaded
    {
        get
        {
            if (loaded is { } library) return library;
            lock (Gate)
            {
                if (loaded == null)
                {
                    (IntPtr handle, string path) = NativeFile.LoadDefault();
                    loaded = new LoadedLibrary(handle, path);
                }
                return loaded;
            }
        }
    }

    internal static IntPtr Address(int index) => Loaded.Addresses[index];

    internal static void LoadFrom(string folder)
    {
        lock (Gate)
        {
            if (loaded != null)
                throw new InvalidOperationException($"TwineKit is already loaded, from {loaded.Path}: Library.Load must come before the first call.");
            (IntPtr handle, string path) = NativeFile.LoadFrom(folder);
            loaded = new LoadedLibrary(handle, path);
        }
    }
}
