@echo off
rem Builds the project and copies the result.
REM Upper-case REM is not a comment for this counter.
setlocal

set OUTDIR=bin
set premium=1
echo "rem inside quotes"
echo 'rem' done
if not exist %OUTDIR% mkdir %OUTDIR%   rem make the folder
   rem indented remark

:: a label-style note
call make.bat all
endlocal
