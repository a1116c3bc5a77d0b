# Tests of the kordelc command line.
*** Settings ***
Library    Process

*** Variables ***
${TOOL}    kordelc    # found on PATH

*** Test Cases ***
Counts A Folder
    ${result}=    Run Process    ${TOOL}    tests/data
    Should Be Equal As Integers    ${result.rc}    0
    # the totals line comes last
    Should Contain    ${result.stdout}    Total

Prints Its Version
    ${result}=    Run Process    ${TOOL}    --version
    Should Match Regexp    ${result.stdout}    ^kordelc
