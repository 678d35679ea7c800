#include "gameapp.h"

int main(int argc, char** argv)
{
    GameApp application(argc, argv);
    return application.initInstance() ? GameApp::exec() : 0;
}
