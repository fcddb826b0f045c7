#!/usr/bin/env bash
# The .NET tier.  Builds what the package holds (libtwinekit.so, the test
# variant and tkcall in build/native, TWINEKIT.DLL and TWINEKIT64.DLL in
# build/win32 and build/win64), packs it (scripts/dotnet-pack.sh), and with
# the package as packed runs: the xunit tests of dotnet/TwineKit.Tests, every
# behaviour case among them, once with the package's .NET 8 assembly and
# own library, once with its .NET Standard assembly and the test variant of
# the library, which counts every BSTR left behind and fails allocations on
# demand; the VB.NET page of VB6-style calls
# (dotnet/VbClient); and the package's contents and a fresh project that
# installs it (tests/dotnet/check_nuget_package.sh).  Without dotnet on the
# PATH the tier fails.
#
# Environment: TK_JOBS (build jobs, default 2).
set -euo pipefail
cd "$(dirname "$0")/.."

command -v dotnet >/dev/null || { echo "test-dotnet: no dotnet on the PATH: this tier needs the .NET SDK" >&2; exit 1; }
jobs=${TK_JOBS:-2}
build() {
  local dir=$1
  shift 2
  [ -f "$dir/CMakeCache.txt" ] || cmake -S . -B "$dir" "$@" >/dev/null
}
build build/native -- -DCMAKE_BUILD_TYPE=RelWithDebInfo
cmake --build build/native -j "$jobs" --target twinekit twinekit_testing tkcall
build build/win32 -- -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-i686.cmake
cmake --build build/win32 -j "$jobs" --target twinekit
build build/win64 -- -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-x86_64.cmake
cmake --build build/win64 -j "$jobs" --target twinekit

export DOTNET_NOLOGO=1 DOTNET_CLI_TELEMETRY_OPTOUT=1
bash scripts/dotnet-pack.sh
rm -rf build/dotnet/nuget/twinekit  # the package just packed, not an earlier one of the same version
dotnet test dotnet/TwineKit.Tests/TwineKit.Tests.csproj --nologo
mkdir -p build/dotnet/testing
cp -L build/native/libtwinekit_testing.so build/dotnet/testing/libtwinekit.so
TWINEKIT_TEST_LIBRARY_FOLDER=$PWD/build/dotnet/testing \
  dotnet test dotnet/TwineKit.Tests/TwineKit.Tests.csproj --nologo -p:TwineKitLib=netstandard2.0
dotnet run --project dotnet/VbClient/VbClient.vbproj
bash tests/dotnet/check_nuget_package.sh
