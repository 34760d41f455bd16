# The whole window on a pseudo-terminal; the board's side is the tests' PtyPair.
if(TARGET ondrix_window AND TARGET ondrix_testsupport)
  ondrix_bench(bench_display SOURCES BenchDisplay.cpp LIBS ondrix_window ondrix_testsupport)
  # RecorderAlone runs the recorder program itself.
  target_compile_definitions(bench_display PRIVATE ONDRIX_RECORD="$<TARGET_FILE:ondrix-record>")
  add_dependencies(bench_display ondrix-record)
endif()
