# The timer, message box and tooltip elements against the real platform under Wine.
if(WIN32)
  vortane_test(platform_elements_tests
    SOURCES
      ${CMAKE_CURRENT_LIST_DIR}/timer_element_tests.cpp
      ${CMAKE_CURRENT_LIST_DIR}/message_tests.cpp
      ${CMAKE_CURRENT_LIST_DIR}/hint_manager_tests.cpp
    LIBS vortane_elements_win vortane_test_support)
endif()
