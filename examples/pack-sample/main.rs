// A tiny program.
fn main() {
    /* say hello */
    println!("hi"); // greet

}
