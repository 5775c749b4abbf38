// vsktool: builds and inspects the files of a Veskar game.
#include <iostream>
int main(int, char**) {
    std::cerr << "vsktool: no commands yet\n";
    return 0;
}
