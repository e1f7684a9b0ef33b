@echo off
rem Registers the serial communications control that Tessaly put into the 32-bit system folder.
rem No /s: regsvr32 then tells the operator whether the registration worked.
C:\Windows\System32\regsvr32.exe "C:\Windows\System32\MSCOMM32.OCX"
