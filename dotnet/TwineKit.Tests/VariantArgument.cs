using System;
using System.Runtime.InteropServices;
using System.Text.Json;

namespace TwineKit.Tests;

// The .NET value the package turns into the Variant tkcall describes (its
// type and its 16 bytes); false for a Variant by reference and for the
// types no .NET value stands for (INT, UINT, any other number).
internal static class VariantArgument
{
    internal static bool TryRead(JsonElement json, out object? value)
    {
        int vt = json.GetProperty("vt").GetInt32();
        byte[] image = Convert.FromHexString(json.GetProperty("image").GetString()!);
        ReadOnlySpan<byte> v = image.AsSpan(8);
        value = vt switch
        {
            0 => null,
            1 => DBNull.Value,
            2 => BitConverter.ToInt16(v),
            3 => BitConverter.ToInt32(v),
            4 => BitConverter.ToSingle(v),
            5 => BitConverter.ToDouble(v),
#pragma warning disable CS0618 // the Currency and Error wrappers
            6 => new CurrencyWrapper(decimal.FromOACurrency(BitConverter.ToInt64(v))),
            10 => new ErrorWrapper(BitConverter.ToInt32(v)),
#pragma warning restore CS0618
            7 => DateTime.FromOADate(BitConverter.ToDouble(v)),
            8 => Latin1(Convert.FromHexString(json.GetProperty("text").GetString()!)),
            11 => BitConverter.ToInt16(v) != 0,
            14 => new decimal(BitConverter.ToInt32(v), BitConverter.ToInt32(v[4..]), BitConverter.ToInt32(image, 4),
                              image[3] != 0, image[2]),
            16 => (sbyte)v[0],
            17 => v[0],
            18 => BitConverter.ToUInt16(v),
            19 => BitConverter.ToUInt32(v),
            20 => BitConverter.ToInt64(v),
            21 => BitConverter.ToUInt64(v),
            _ => Unsupported,
        };
        return !ReferenceEquals(value, Unsupported);
    }

    private static readonly object Unsupported = new();

    // A Variant's string holds UTF-16 characters; tkcall's hold one byte each.
    private static string Latin1(byte[] bytes) => System.Text.Encoding.Latin1.GetString(bytes);
}
