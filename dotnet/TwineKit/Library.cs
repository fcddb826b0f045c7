using System;
using System.Text;

namespace TwineKit;

/// <summary>The native library behind <see cref="Strings"/> and the encoding
/// its strings go through.</summary>
public static class Library
{
    /// <summary>The encoding of every <c>string</c> argument and result: by
    /// default the system's ANSI code page on Windows, as around a VB6
    /// <c>Declare</c>, and Windows-1252 elsewhere. A character it lacks
    /// becomes "?", never a look-alike.</summary>
    public static Encoding Encoding => TextEncoding.Current;

    /// <summary>Sets the encoding of every <c>string</c> argument and result,
    /// once for the process and before the first call that converts a
    /// string; an <see cref="InvalidOperationException"/> after that.</summary>
    public static void SetEncoding(Encoding encoding) => TextEncoding.Set(encoding);

    /// <summary>Loads the library of this process's width from
    /// <paramref name="folder"/> before the first call, instead of where the
    /// package put it. A <see cref="DllNotFoundException"/> or a
    /// <see cref="BadImageFormatException"/> says what went wrong: the file
    /// is not in the folder, only the other width's is, it is not a library
    /// of this process's width, or the system blocked it.</summary>
    public static void Load(string folder) => Exports.LoadFrom(folder ?? throw new ArgumentNullException(nameof(folder)));

    /// <summary>The full path of the native library in use; loads it first
    /// if no call has.</summary>
    public static string FilePath => Exports.Loaded.Path;
}
