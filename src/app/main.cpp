#include <cstdio>

int main() {
    std::puts("Zelkin engine v 0.9");
    return 0;
}
