# Signs TarqSysValidation.app for the app sandbox, with the hardened runtime and a time stamp:
# the nested tarq-validate first, since signing a bundle does not sign what is inside it.
#
# After the build:  cmake -DBUNDLE=… -DIDENTITY=… -DENTITLEMENTS=… -P codesign.cmake
# By CPack, on the staged copy before the disk image is made (CPACK_PRE_BUILD_SCRIPTS), with
# CPACK_TARQ_CODESIGN_IDENTITY and CPACK_TARQ_ENTITLEMENTS from the project.

if(CPACK_TEMPORARY_INSTALL_DIRECTORY)
  file(GLOB BUNDLE LIST_DIRECTORIES true
    ${CPACK_TEMPORARY_INSTALL_DIRECTORY}/TarqSysValidation.app
    ${CPACK_TEMPORARY_INSTALL_DIRECTORY}/*/TarqSysValidation.app)
  set(IDENTITY ${CPACK_TARQ_CODESIGN_IDENTITY})
  set(ENTITLEMENTS ${CPACK_TARQ_ENTITLEMENTS})
endif()
list(LENGTH BUNDLE bundles)
if(NOT bundles EQUAL 1 OR NOT IDENTITY OR NOT ENTITLEMENTS)
  message(FATAL_ERROR "codesign.cmake: one bundle, an identity and entitlements are needed "
    "(bundle: '${BUNDLE}')")
endif()

find_program(CODESIGN codesign REQUIRED)
foreach(path ${BUNDLE}/Contents/MacOS/tarq-validate ${BUNDLE})
  execute_process(
    COMMAND ${CODESIGN} --force --options runtime --timestamp --sign ${IDENTITY}
      --entitlements ${ENTITLEMENTS} ${path}
    COMMAND_ERROR_IS_FATAL ANY)
endforeach()
