#!/usr/bin/env bash
# Checks the NuGet package as packed (build/dotnet/packages): it holds the
# three native libraries as runtime assets, each the very file built (the
# DLLs checked by name, ordinals and width with harness/check_dll.py), the
# XML documentation of all 64 functions for both targets, the licence and
# the README, at the version of the release; then installs it, with no
# other package source, into a fresh project that calls it, first as it
# is, then with the encoding set, then with its library removed and with a
# 32-bit one in its place, each failure saying which file, where and why;
# and builds a .NET Framework 4.8 program against it, which must find both
# DLLs beside it (built, not run: there is no .NET Framework here; its
# reference assemblies and the package's dependencies come from the NuGet
# registry).
set -euo pipefail
root=$(cd "$(dirname "$0")/../.." && pwd)
tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT
fail() { echo "check_nuget_package: $*" >&2; exit 1; }

version=$(sed -n 's/^project(TwineKit VERSION \([0-9.]*\).*/\1/p' "$root/CMakeLists.txt")
package=$root/build/dotnet/packages/TwineKit.$version.nupkg
[ -f "$package" ] || fail "no $package (scripts/dotnet-pack.sh makes it)"
unzip -q "$package" -d "$tmp/package"
p=$tmp/package
for f in LICENSE README.md TwineKit.nuspec lib/netstandard2.0/TwineKit.dll lib/net8.0/TwineKit.dll \
         runtimes/win-x86/native/TWINEKIT.DLL runtimes/win-x64/native/TWINEKIT64.DLL \
         runtimes/linux-x64/native/libtwinekit.so build/netstandard2.0/TwineKit.targets; do
  [ -f "$p/$f" ] || fail "the package has no $f"
done
grep -q "<version>$version</version>" "$p/TwineKit.nuspec" || fail "the package's version is not $version"
cmp "$p/LICENSE" "$root/LICENSE"
cmp "$p/runtimes/win-x86/native/TWINEKIT.DLL" "${TK_WIN32_DIR:-$root/build/win32}/TWINEKIT.DLL"
cmp "$p/runtimes/win-x64/native/TWINEKIT64.DLL" "${TK_WIN64_DIR:-$root/build/win64}/TWINEKIT64.DLL"
cmp "$p/runtimes/linux-x64/native/libtwinekit.so" "${TK_NATIVE_DIR:-$root/build/native}/libtwinekit.so"
table=$root/src/exports/export_table.h
python3 "$root/harness/check_dll.py" --objdump i686-w64-mingw32-objdump --bits 32 --table "$table" \
  --entry _TwineKitEntry@12 --version "$version" "$p/runtimes/win-x86/native/TWINEKIT.DLL"
python3 "$root/harness/check_dll.py" --objdump x86_64-w64-mingw32-objdump --bits 64 --table "$table" \
  --entry TwineKitEntry --version "$version" "$p/runtimes/win-x64/native/TWINEKIT64.DLL"
for tfm in netstandard2.0 net8.0; do
  documented=$(grep -o 'name="M:TwineKit\.Strings\.c[A-Za-z0-9]*' "$p/lib/$tfm/TwineKit.xml" | sort -u | wc -l)
  [ "$documented" = 64 ] || fail "lib/$tfm/TwineKit.xml documents $documented functions, not 64"
done
echo "check_nuget_package: $package holds what it must"

# A fresh project, the package its only source and a package folder of its own.
export DOTNET_NOLOGO=1 DOTNET_CLI_TELEMETRY_OPTOUT=1 NUGET_PACKAGES=$tmp/nuget
app=$tmp/app
dotnet new console --output "$app" --framework net10.0 >/dev/null
cat >"$app/nuget.config" <<XML
<configuration><packageSources><clear /><add key="twinekit" value="$root/build/dotnet/packages" /></packageSources></configuration>
XML
cp "$root/dotnet/PackageConsumer/Program.cs" "$app/Program.cs"
dotnet add "$app" package TwineKit --version "$version" >/dev/null
dotnet build "$app" --nologo -v quiet -o "$app/out" >/dev/null
run() { (cd "$tmp" && dotnet "$app/out/app.dll" "$@") || true; }
expect() {
  local want=$1 seen
  shift
  seen=$(run "$@")
  [ "$seen" = "$want" ] || fail "the fresh project printed:
$seen
instead of:
$want"
}
expect $'John\nE9\nmcmxciv'
expect $'John\nC3A9\nmcmxciv' utf8
library=$app/out/runtimes/linux-x64/native/libtwinekit.so
mv "$library" "$tmp/libtwinekit.so"
run | grep -q "^DllNotFoundException: libtwinekit.so was not found in .*$app/out/runtimes/linux-x64/native" ||
  fail "a missing library is not reported as such: $(run)"
cp "$(gcc -m32 -print-file-name=libc.so.6 2>/dev/null || true)" "$library" 2>/dev/null ||
  cp /usr/lib32/libc.so.6 "$library"
run | grep -q "^BadImageFormatException: $library is not a 64-bit library: it is 32-bit" ||
  fail "a 32-bit library is not reported as such: $(run)"
echo "check_nuget_package: installed from the package alone into a fresh project, called, and its failures explained"

framework=$tmp/framework
mkdir -p "$framework"
cat >"$framework/framework.csproj" <<XML
<Project Sdk="Microsoft.NET.Sdk">
  <PropertyGroup><OutputType>Exe</OutputType><TargetFramework>net48</TargetFramework><LangVersion>latest</LangVersion></PropertyGroup>
  <ItemGroup><PackageReference Include="TwineKit" Version="$version" /></ItemGroup>
</Project>
XML
cat >"$framework/nuget.config" <<XML
<configuration><packageSources><add key="twinekit" value="$root/build/dotnet/packages" /></packageSources></configuration>
XML
cp "$root/dotnet/PackageConsumer/Program.cs" "$framework/Program.cs"
dotnet build "$framework" --nologo -v quiet -o "$framework/out" >/dev/null
for f in framework.exe TwineKit.dll TWINEKIT.DLL TWINEKIT64.DLL; do
  [ -f "$framework/out/$f" ] || fail "the .NET Framework program has no $f beside it"
done
cmp "$framework/out/TwineKit.dll" "$p/lib/netstandard2.0/TwineKit.dll"
echo "check_nuget_package: a .NET Framework 4.8 program builds against it, both DLLs beside it"
