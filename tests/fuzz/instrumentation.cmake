# Included from the top CMakeLists.txt before any target: with KOLVEDIR_FUZZ
# every library is built with coverage for libFuzzer and with AddressSanitizer
# and UndefinedBehaviorSanitizer, so the fuzz targets see into all of them.
set(hot_loops ${CMAKE_CURRENT_LIST_DIR}/hot_loops.ignore)
add_compile_options(-fsanitize=fuzzer-no-link,address,undefined -fno-sanitize-recover=all
                    -fsanitize-coverage-ignorelist=${hot_loops} -fsanitize-ignorelist=${hot_loops})
add_link_options(-fsanitize=address,undefined)
