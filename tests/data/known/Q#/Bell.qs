// Prepares a Bell pair and measures it.
namespace Kordel.Demo {
    open Microsoft.Quantum.Intrinsic;

    /// Returns the two results.
    operation Bell() : (Result, Result) {
        use (a, b) = (Qubit(), Qubit());
        H(a); // superposition
        CNOT(a, b);
        Message("measuring // both");
        return (M(a), M(b));
    }
}
