# kavero-cli tables, design and dump on the real Access files, and the comparison of dump
# with the independent readers (npm mdb-reader cell by cell, mdb-export record counts).
set(_data ${KAVERO_TESTDATA_DIR})
set(_fields "Field name\tType\tLenght\tCan not be null\tDefault value\n")
set(_keys "Index name\tUnique\tPrimary\tLenght\tKey type\n")

function(kavero_cli_test name)
  cmake_parse_arguments(ARG "FAILS" "EXPECT" "ARGS" ${ARGN})
  add_test(NAME cli.${name} COMMAND kavero-cli ${ARG_ARGS})
  set_tests_properties(cli.${name} PROPERTIES LABELS unit)
  if(ARG_EXPECT)
    set_tests_properties(cli.${name} PROPERTIES PASS_REGULAR_EXPRESSION "${ARG_EXPECT}")
  endif()
  if(ARG_FAILS)
    # The status on its own: a regular expression would hide it.
    add_test(NAME cli.${name}.status COMMAND kavero-cli ${ARG_ARGS})
    set_tests_properties(cli.${name}.status PROPERTIES LABELS unit WILL_FAIL TRUE)
  endif()
  if(NOT EXISTS ${_data})
    set_tests_properties(cli.${name} PROPERTIES DISABLED TRUE)
  endif()
endfunction()

kavero_cli_test(tables.user_tables ARGS tables ${_data}/jet4/testV2003.mdb
  EXPECT "^Table1\nTable2\nTable3\nTable4\n$")
kavero_cli_test(tables.jet3 ARGS tables ${_data}/jet3/indexTestV1997.mdb
  EXPECT "^Table1\nTable2\nTable3\n$")
kavero_cli_test(tables.blank_in_name FAILS ARGS tables ${_data}/ace/githubIssue16.accdb
  EXPECT "^You have a space\\( \\)in your database name Donation Type\nIf your mySQL server supports")
kavero_cli_test(tables.blank_allowed ARGS tables ${_data}/ace/githubIssue16.accdb --allow-spaces
  EXPECT "^Designation\nDonation Detail\nDonation Type\nDonor\n$")
kavero_cli_test(tables.missing_file FAILS ARGS tables ${_data}/none.mdb EXPECT "3024")
kavero_cli_test(tables.not_access FAILS ARGS tables ${_data}/LICENSE-jackcess.txt
  EXPECT "^Unrecognized database format: .* 3343\n$")
kavero_cli_test(tables.encrypted FAILS ARGS tables ${_data}/other/office-agile-4.2.accdb EXPECT "encrypted.* 3031")

kavero_cli_test(design.autonumber ARGS design ${_data}/jet4/testV2003.mdb Table3
  EXPECT "^${_fields}a\tAUTONUM\t4\tFalse\t\nb\tTEXT\t50\tFalse\t\n\n${_keys}a\tFalse\tFalse\t4\tAUTONUM\n$")
kavero_cli_test(design.no_indexes ARGS design ${_data}/jet4/testV2003.mdb Table4
  EXPECT "^${_fields}name\tTEXT\t50\tFalse\t\n\n${_keys}$")
kavero_cli_test(design.illegal_field FAILS ARGS design ${_data}/ace/githubIssue16.accdb Donor --allow-spaces
  EXPECT "^Illegal field name\\(s\\) detected :\nYou have a slash\\(/\\) in your field name Inst/Branch\nPlease correct the name and try again\n\n${_keys}$")
kavero_cli_test(design.unknown_table FAILS ARGS design ${_data}/jet4/testV2003.mdb Nope EXPECT "'Nope' 3078\n")

kavero_cli_test(dump.values ARGS dump ${_data}/jet4/testV2003.mdb Table1
  EXPECT "\"A\":\"abcdefg\",\"B\":\"hijklmnop\",\"C\":2,\"D\":222,\"E\":333333333,\"F\":444.555,\"G\":\"1974-09-21 00:00:00\",\"H\":\"3.5000\",\"I\":true}\n")
kavero_cli_test(dump.decimal ARGS dump ${_data}/jet4/functionsV2000.mdb t_funcs EXPECT "\"num\":\"-1110.554\"")
kavero_cli_test(dump.code_page ARGS dump ${_data}/jet3/charsetGBK.mdb table1 --code-page 936
  EXPECT "^{\"ID\":2,\"field1\":\"GBK编码\"}\n$")
kavero_cli_test(dump.windows_1252 ARGS dump ${_data}/jet3/charsetGBK.mdb table1
  EXPECT "^{\"ID\":2,\"field1\":\"GBK±àÂë\"}\n$")
kavero_cli_test(dump.unknown_table FAILS ARGS dump ${_data}/jet4/testV2003.mdb Nope EXPECT "^kavero-cli: .*3078")
kavero_cli_test(dump.missing_file FAILS ARGS dump ${_data}/none.mdb Table1 EXPECT "^kavero-cli: Could not find file: .*\\(3024\\)\n$")

find_program(KAVERO_NODE node)
if(KAVERO_NODE)
  add_test(NAME oracle.compare_readers
    COMMAND ${KAVERO_NODE} ${CMAKE_SOURCE_DIR}/tests/oracle/compare_readers.mjs $<TARGET_FILE:kavero-cli>
            ${_data} ${CMAKE_SOURCE_DIR}/tests/oracle/expected_differences.json ${KAVERO_FIXTURE_DIR})
  set_tests_properties(oracle.compare_readers PROPERTIES LABELS unit SKIP_RETURN_CODE 77
    ENVIRONMENT "KAVERO_ORACLE_DIR=${CMAKE_BINARY_DIR}/oracle")
endif()
