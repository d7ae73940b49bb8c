@echo off
rem Joins a host: join.bat ADDRESS (or a room code), or asks for it.
setlocal EnableDelayedExpansion
set "POMRIN_PEER=%~1"
if "!POMRIN_PEER!"=="" set /p POMRIN_PEER=Room code, or host address (name or IP, optionally :port): 
if "!POMRIN_PEER!"=="" exit /b 2
start "" "%~dp0pomrin.exe" --join "!POMRIN_PEER!"
