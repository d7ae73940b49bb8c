@echo off
rem Waits for a guest on UDP port 27810, or on the port given: host.bat 28000
start "" "%~dp0pomrin.exe" --host %*
