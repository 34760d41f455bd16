# The whole window on a pseudo-terminal; the board's side is the tests' PtyPair.
if(TARGET ondrix_window AND TARGET ondrix_testsupport)
  ondrix_bench(bench_display SOURCES BenchDisplay.cpp LIBS ondrix_window ondrix_testsupport)
endif()
