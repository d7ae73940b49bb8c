// The program entry behind main(): start-up, the message loop and shut-down.
#pragma once

int GameMain(int argc, char** argv);
