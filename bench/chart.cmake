ondrix_bench(bench_chart SOURCES BenchChart.cpp ${CMAKE_SOURCE_DIR}/app/SweepChartDesign.cpp LIBS ondrix_chart)
