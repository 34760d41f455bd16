if(TARGET ondrix_serial AND TARGET ondrix_app)
  # Rate6000 also reads through a real ser2net, started as the network tests start it.
  ondrix_bench(bench_serial SOURCES BenchSerial.cpp BenchRecording.cpp
    ${PROJECT_SOURCE_DIR}/tests/support/Ser2netProcess.cpp ${PROJECT_SOURCE_DIR}/tests/support/Ser2netProcess.h
    LIBS ondrix_serial ondrix_app Qt6::Test)
endif()
