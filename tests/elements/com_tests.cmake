# The serial port element against the simulated charger on COM1: one test program, one ctest
# entry per simulator scenario, each running only its own suite. The simulator is the native
# build's (scripts/test builds that first); every entry shares COM1 and the Wine server.
if(WIN32)
  add_executable(com_tests ${CMAKE_CURRENT_LIST_DIR}/com_tests.cpp)
  vortane_target(com_tests)
  target_link_libraries(com_tests PRIVATE vortane_elements_win GTest::gtest GTest::gtest_main)

  set(with_sim ${CMAKE_SOURCE_DIR}/scripts/with-charger-sim)
  set(wine_run ${CMAKE_SOURCE_DIR}/scripts/wine-run)
  set(com_scenarios
    "no_device|--no-sim|ComNoDevice.*"
    "long|--scenario long --fixed 1400300 --long-length 300|ComLong.*"
    "drop|--scenario drop --drop-after 1 --fixed 1400300|ComDrop.*")
  foreach(entry IN LISTS com_scenarios)
    string(REPLACE "|" ";" parts "${entry}")
    list(GET parts 0 scenario)
    list(GET parts 1 sim_options)
    list(GET parts 2 filter)
    separate_arguments(sim_options)
    add_test(NAME com_tests_${scenario}
             COMMAND ${with_sim} ${sim_options} -- ${wine_run} $<TARGET_FILE:com_tests>
                     --gtest_filter=${filter})
    set_tests_properties(com_tests_${scenario} PROPERTIES TIMEOUT 300 RUN_SERIAL TRUE)
  endforeach()
endif()
