// Fibonacci numbers.
fn fib(n: u32) -> u32 {
    if n < 2 { // base case
        return n;
    }
    fib(n - 1) + fib(n - 2)
}

// Entry point.
fn main() {
    let label: felt252 = 'fib // 10';
    println!("{} // {}", label, fib(10));
}
