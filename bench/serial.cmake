if(TARGET ondrix_serial AND TARGET ondrix_app)
  ondrix_bench(bench_serial SOURCES BenchSerial.cpp BenchRecording.cpp LIBS ondrix_serial ondrix_app)
endif()
