// The qvar executable: parses the command line, picks a backend and runs the game.
#include <cstdio>

int main() {
    std::puts("QVAR: the game is being assembled");
    return 0;
}
