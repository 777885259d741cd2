# Everything built for fuzzing carries libFuzzer's coverage and the sanitizers, so that a fault
# anywhere in the engine stops the fuzzer at the input that caused it.
if(NOT CMAKE_CXX_COMPILER_ID MATCHES "Clang")
  message(FATAL_ERROR "TERVIN_FUZZ needs clang (libFuzzer): configure with -DCMAKE_CXX_COMPILER=clang++")
endif()
set(TERVIN_FUZZ_SANITIZERS "address,undefined" CACHE STRING "Sanitizers the fuzz build uses")
add_compile_options(-fsanitize=fuzzer-no-link,${TERVIN_FUZZ_SANITIZERS} -fno-sanitize-recover=all
                    -fno-omit-frame-pointer)
add_link_options(-fsanitize=${TERVIN_FUZZ_SANITIZERS})
