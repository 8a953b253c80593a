# Lays out the run-time tree that the program's relative paths assume, from
# the folders of ui/ (which mirror it): bin/ with the definition files and
# profiles, beside TMP/, FIRMDATA/, DRIVEDAT/, LANGUAGE/<n>/ and userdata/.
# Used by the install step and for the tree every test process starts from.
#   cmake -DUI_DIR=<ui folder> -DROOT=<tree root> -P layout_runtime_tree.cmake
if(NOT UI_DIR OR NOT ROOT)
  message(FATAL_ERROR "layout_runtime_tree.cmake needs UI_DIR and ROOT")
endif()
file(MAKE_DIRECTORY ${ROOT})
# Shipped files replace older ones; files the user made in the tree stay.
file(COPY ${UI_DIR}/ DESTINATION ${ROOT}
     PATTERN ".keep" EXCLUDE
     PATTERN "CMakeLists.txt" EXCLUDE
     PATTERN "*.cmake" EXCLUDE
     PATTERN "*.ini" EXCLUDE)
# The profiles hold the user's settings once the program has run: a new
# installation over an old one keeps them and only adds missing ones.
file(GLOB_RECURSE _profiles RELATIVE ${UI_DIR} ${UI_DIR}/*.ini)
foreach(_profile ${_profiles})
  if(NOT EXISTS ${ROOT}/${_profile})
    get_filename_component(_dir ${ROOT}/${_profile} DIRECTORY)
    file(COPY ${UI_DIR}/${_profile} DESTINATION ${_dir})
  endif()
endforeach()
