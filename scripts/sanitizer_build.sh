# Sourced by test.sh, fuzz.sh and soak.sh: the sanitizer build in build-asan and its settings.
# Clang when it is there (AddressSanitizer, UBSan and the libFuzzer programs), else GCC.
export ASAN_OPTIONS=detect_leaks=1:abort_on_error=1 UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1

configure_sanitizer_build() {
  local options=(-DCMAKE_BUILD_TYPE=Debug -DQVAR_SANITIZE=ON -DQVAR_BENCH=OFF)
  if command -v clang++ >/dev/null; then
    options+=(-DCMAKE_CXX_COMPILER=clang++ -DQVAR_FUZZ=ON)
  else
    echo "clang++ is missing: the sanitizer build uses g++ and the fuzz targets are not run" >&2
    options+=(-DCMAKE_CXX_COMPILER=g++ -DQVAR_FUZZ=OFF)
  fi
  if command -v ccache >/dev/null; then options+=(-DCMAKE_CXX_COMPILER_LAUNCHER=ccache); fi
  cmake -S . -B build-asan "${options[@]}" >/dev/null
}
