# The spin field's arrow held under real timers.
ondrix_bench(bench_spin SOURCES BenchSpin.cpp LIBS ondrix_widgets Qt6::Test)
