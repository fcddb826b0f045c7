// The program tests/dotnet/check_nuget_package.sh puts in a fresh project
// that installed the package from its .nupkg: a first call, and with
// "utf8" the encoding set before it.  What goes wrong is printed as the
// exception's type and message.
using System;
using System.Text;
using TwineKit;

try
{
    if (args.Length > 0 && args[0] == "utf8") Library.SetEncoding(Encoding.UTF8);
    Console.WriteLine(Strings.cGetIn("Smith|John|London", "|", 2));
    Console.WriteLine(Strings.cToHexa("é"));
    Console.WriteLine(Strings.cArabicToRoman(1994));
    return 0;
}
catch (Exception e)
{
    Console.WriteLine($"{e.GetType().Name}: {e.Message}");
    return 1;
}
