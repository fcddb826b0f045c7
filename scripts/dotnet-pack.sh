#!/usr/bin/env bash
# Packs the NuGet package TwineKit (dotnet/TwineKit) into
# build/dotnet/packages/TwineKit.VERSION.nupkg, with the three native
# libraries as its runtime assets, taken from the folders given (by default
# those scripts/setup.sh builds): TWINEKIT.DLL, TWINEKIT64.DLL and
# libtwinekit.so.
#
#   scripts/dotnet-pack.sh [WIN32_DIR WIN64_DIR NATIVE_DIR]
set -euo pipefail
cd "$(dirname "$0")/.."

command -v dotnet >/dev/null || { echo "dotnet-pack: no dotnet on the PATH: install the .NET SDK" >&2; exit 1; }
win32=$(realpath "${1:-build/win32}")
win64=$(realpath "${2:-build/win64}")
native=$(realpath "${3:-build/native}")
rm -rf build/dotnet/packages
mkdir -p build/dotnet/packages  # a source of dotnet/nuget.config, which restore wants to exist
dotnet pack dotnet/TwineKit/TwineKit.csproj -c Release --nologo -v quiet \
  -p:TwineKitWin32Dir="$win32" -p:TwineKitWin64Dir="$win64" -p:TwineKitNativeDir="$native"
ls build/dotnet/packages/*.nupkg
