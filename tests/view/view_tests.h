#pragma once

// Each test class of the view, run in turn by one program (QtTest runs one object at a time).
int RunWindowTests(int argc, char** argv);
int RunPictureDecoderTests(int argc, char** argv);
int RunPictureViewTests(int argc, char** argv);
int RunTransitionGoldenTests(int argc, char** argv);
int RunAboutDialogTests(int argc, char** argv);
int RunScalingTests(int argc, char** argv);
int RunKeysViewTests(int argc, char** argv);
int RunSettingsViewTests(int argc, char** argv);
int RunFontPagesTests(int argc, char** argv);
