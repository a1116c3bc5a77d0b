/**
 * @name Unused local variable

 * @kind problem
 */

import javascript

// A variable that is never read.
from LocalVariable v
where not exists(v.getAnAccess()) // no reads
select v, "Variable " + v.getName() + " is never used // here."
