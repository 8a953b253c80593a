# Lays out the run-time tree that the program's relative paths assume, from
# the folders of ui/ (which mirror it): bin/ with the definition files and
# profiles, beside TMP/, FIRMDATA/, DRIVEDAT/, LANGUAGE/<n>/ and userdata/.
# Used by the install step and for the tree every test process starts from.
#   cmake -DUI_DIR=<ui folder> -DROOT=<tree root> -P layout_runtime_tree.cmake
if(NOT UI_DIR OR NOT ROOT)
  message(FATAL_ERROR "layout_runtime_tree.cmake needs UI_DIR and ROOT")
endif()
file(MAKE_DIRECTORY ${ROOT})
# Existing files are overwritten; files the user made in the tree are kept.
file(COPY ${UI_DIR}/ DESTINATION ${ROOT}
     PATTERN ".keep" EXCLUDE
     PATTERN "CMakeLists.txt" EXCLUDE
     PATTERN "*.cmake" EXCLUDE)
