@echo off
rem Registers the serial communications control that Tessaly put into the 32-bit compatibility
rem folder of a 64-bit system, with the 32-bit regsvr32 that the control needs.
rem No /s: regsvr32 then tells the operator whether the registration worked.
C:\Windows\SysWOW64\regsvr32.exe "C:\Windows\SysWOW64\MSCOMM32.OCX"
