-- A bank account.
class ACCOUNT

create
  make

feature -- Access
  balance: INTEGER
  owner: STRING -- holder's name

feature
  make (a_owner: STRING)
    do
      owner := a_owner
      print ("Opened -- %"" + owner + "%"%N")
      print ("[
        -- kept as text
        ]")
    end
end
